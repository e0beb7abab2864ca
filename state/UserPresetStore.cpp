#include "state/UserPresetStore.h"

#include "state/ParamManager.h"
#include "state/StateXml.h"
#include "state/XmlLookup.h"

namespace brevalon
{

UserPresetStore::UserPresetStore (SharedFolder folder_, const juce::String& fileName_)
    : folder (std::move (folder_)),
      fileName (fileName_),
      file (folder.getFile (fileName_))
{
}

juce::CriticalSection& UserPresetStore::getFileLock() noexcept
{
    static juce::CriticalSection fileLock;
    return fileLock;
}

XmlFile::Content UserPresetStore::read (std::unique_ptr<juce::XmlElement>& document) const
{
    const juce::ScopedLock sl (getFileLock());
    return XmlFile::read (file, document);
}

const juce::XmlElement* UserPresetStore::readPresetsOfMakerFile (std::unique_ptr<juce::XmlElement>& document) const
{
    if (read (document) != XmlFile::Content::parsed || ! document->getTagName().equalsIgnoreCase (StateXml::makerName))
        return nullptr;
    return XmlLookup::findChild (*document, StateXml::presetsTag);
}

const juce::XmlElement* UserPresetStore::findEntry (const juce::XmlElement& presets, int number)
{
    for (auto* preset = presets.getFirstChildElement(); preset != nullptr; preset = preset->getNextElement())
        if (preset->getTagName().equalsIgnoreCase (StateXml::presetTag) &&
            XmlLookup::findAttribute (*preset, StateXml::numberAttribute) != nullptr &&
            XmlLookup::getInt (*preset, StateXml::numberAttribute) == number)
            return preset;
    return nullptr;
}

juce::XmlElement* UserPresetStore::findEntry (juce::XmlElement& presets, int number)
{
    return const_cast<juce::XmlElement*> (findEntry (static_cast<const juce::XmlElement&> (presets), number));
}

const juce::XmlElement* UserPresetStore::findPreset (const juce::XmlElement& presets, int number)
{
    const auto* entry = findEntry (presets, number);
    return entry != nullptr && ! XmlLookup::getBool (*entry, StateXml::deletedAttribute) ? entry : nullptr;
}

void UserPresetStore::readPreset (ParamManager& model, const juce::XmlElement& preset, int slot)
{
    const auto* name = XmlLookup::findAttribute (preset, StateXml::nameAttribute);
    model.programs.rename (slot, name != nullptr ? *name : juce::String());
    auto& program = model.programs[slot];
    StateXml::readValues (model, preset, program);
    program.dirty = false;
}

void UserPresetStore::load (ParamManager& model) const
{
    std::unique_ptr<juce::XmlElement> document;
    const auto* presets = readPresetsOfMakerFile (document);
    if (presets == nullptr)
        return;
    // Only the user slots: the file is shared, and its other entries must not reach the factory programs.
    for (int slot = model.programs.getFactoryProgramCount(); model.programs.isUserSlot (slot); ++slot)
        if (const auto* preset = findPreset (*presets, model.programs.presetNumberFor (slot)))
            readPreset (model, *preset, slot);
}

bool UserPresetStore::isWritable() const
{
    std::unique_ptr<juce::XmlElement> document;
    return read (document) != XmlFile::Content::unreadable;
}

int UserPresetStore::firstFreeSlot (const ParamManager& model) const
{
    const juce::ScopedLock fl (getFileLock());
    std::unique_ptr<juce::XmlElement> document;
    const juce::XmlElement* presets = nullptr;
    if (read (document) == XmlFile::Content::parsed)
        presets = XmlLookup::findChild (*document, StateXml::presetsTag);
    const int first = model.programs.getFactoryProgramCount();
    if (presets == nullptr)
        return first;

    for (int slot = first; model.programs.isUserSlot (slot); ++slot)
        if (findPreset (*presets, model.programs.presetNumberFor (slot)) == nullptr)
            return slot;
    return -1;
}

bool UserPresetStore::holdsPreset (const ParamManager& model, int slot) const
{
    const juce::ScopedLock fl (getFileLock());
    std::unique_ptr<juce::XmlElement> document;
    if (read (document) != XmlFile::Content::parsed)
        return false;
    const auto* presets = XmlLookup::findChild (*document, StateXml::presetsTag);
    return presets != nullptr && findPreset (*presets, model.programs.presetNumberFor (slot)) != nullptr;
}

void UserPresetStore::write (const ParamManager& model, int slot) const
{
    const juce::ScopedLock fl (getFileLock());
    const auto& program = model.programs[slot];
    const int number = model.programs.presetNumberFor (slot);
    auto fillPreset = [&] (juce::XmlElement& preset)
    {
        preset.setAttribute (StateXml::numberAttribute, number);
        preset.setAttribute (StateXml::nameAttribute, program.getName());
        StateXml::writeValues (model, preset, program, true);
    };

    std::unique_ptr<juce::XmlElement> document;
    switch (read (document))
    {
    case XmlFile::Content::parsed:
    {
        // Whatever the root is called: its "presets" are ours.
        auto* presets = XmlLookup::findChild (*document, StateXml::presetsTag);
        if (presets == nullptr)
            presets = document->createNewChildElement (StateXml::presetsTag);
        if (auto* preset = findEntry (*presets, number))
        {
            if (XmlLookup::getBool (*preset, StateXml::deletedAttribute))
                preset->setAttribute (StateXml::deletedAttribute, 0);
            fillPreset (*preset);
        }
        else
        {
            fillPreset (*presets->createNewChildElement (StateXml::presetTag));
        }
        break;
    }
    case XmlFile::Content::missing:
        document = std::make_unique<juce::XmlElement> (StateXml::makerName);
        fillPreset (*document->createNewChildElement (StateXml::presetsTag)->createNewChildElement (StateXml::presetTag));
        break;
    case XmlFile::Content::unreadable:
        return; // never written over: it may hold presets a later version or the user wrote
    }
    if (folder.createIfMissing())
        XmlFile::write (file, XmlFile::serialise (*document));
}

void UserPresetStore::markDeleted (const ParamManager& model, int slot) const
{
    const juce::ScopedLock fl (getFileLock());
    std::unique_ptr<juce::XmlElement> document;
    if (read (document) != XmlFile::Content::parsed)
        return;
    if (auto* presets = XmlLookup::findChild (*document, StateXml::presetsTag))
        if (auto* preset = findEntry (*presets, model.programs.presetNumberFor (slot)))
        {
            preset->setAttribute (StateXml::deletedAttribute, 1);
            XmlFile::write (file, XmlFile::serialise (*document));
        }
}

void UserPresetStore::reload (ParamManager& model, int slot) const
{
    const juce::ScopedLock fl (getFileLock());
    model.programs.revert (slot);
    auto& program = model.programs[slot];
    program.applyTo (model);
    program.dirty = false;
    program.active = false;

    std::unique_ptr<juce::XmlElement> document;
    const auto* presets = readPresetsOfMakerFile (document);
    if (presets == nullptr)
        return;
    if (const auto* preset = findPreset (*presets, model.programs.presetNumberFor (slot)))
    {
        readPreset (model, *preset, slot);
        program.applyTo (model);
    }
}

} // namespace brevalon
