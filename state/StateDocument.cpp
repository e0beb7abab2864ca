#include "state/StateDocument.h"

#include "state/ParamManager.h"
#include "state/StateXml.h"
#include "state/XmlLookup.h"

namespace brevalon::StateDocument
{
namespace
{
const char* stateTag (bool b) noexcept
{
    return b ? StateXml::stateBTag : StateXml::stateATag;
}
} // namespace

void write (const ParamManager& model, juce::XmlElement& root)
{
    const auto& programs = model.programs;
    PresetRecord current (model.getCount());
    current.storeCurrentValues (model);
    StateXml::writeValues (model, root, current, true);

    auto* presets = root.createNewChildElement (StateXml::presetsTag);
    presets->setAttribute (StateXml::activeProgramAttribute, programs.presetNumberFor (programs.getCurrentIndex()));
    for (int p = 0; p < programs.getCount(); ++p)
    {
        const auto& program = programs[p];
        if (! program.dirty)
            continue;
        auto* preset = presets->createNewChildElement (StateXml::presetTag);
        preset->setAttribute (StateXml::numberAttribute, programs.presetNumberFor (p));
        preset->setAttribute (StateXml::nameAttribute, program.getName());
        // The current program's values are the root's.
        if (p != programs.getCurrentIndex())
            StateXml::writeValues (model, *preset, program, true);
    }

    for (const bool b : { false, true })
    {
        auto* state = root.createNewChildElement (stateTag (b));
        const bool active = model.states.isBActive() == b;
        state->setAttribute (StateXml::stateActiveAttribute, active ? 1 : 0);
        if (active)
            continue;
        if (model.states.isLinked())
            state->setAttribute (StateXml::linkedAttribute, 1);
        else
            StateXml::writeValues (model, *state, model.states.get (b), true);
    }
}

void read (ParamManager& model, const juce::XmlElement& root)
{
    auto values = StateXml::defaults (model);
    StateXml::readValues (model, root, values);
    model.setAllParameters (values.getValues());

    if (const auto* presets = XmlLookup::findChild (root, StateXml::presetsTag))
    {
        readProgramList (model, *presets, true);
        // A number that names no program (a damaged or foreign chunk) keeps the current one.
        model.programs.select (model.programs.indexForPresetNumber (XmlLookup::getInt (*presets, StateXml::activeProgramAttribute, 1)));
    }

    for (const bool b : { false, true })
    {
        const auto* state = XmlLookup::findChild (root, stateTag (b));
        if (state == nullptr)
            continue;
        const bool active = XmlLookup::getBool (*state, StateXml::stateActiveAttribute);
        if (! active)
        {
            model.states.setLinked (XmlLookup::getBool (*state, StateXml::linkedAttribute));
            if (! model.states.isLinked())
                StateXml::readValues (model, *state, model.states.get (b));
        }
        model.states.setBActive (b ? active : ! active);
    }
}

void readProgramList (ParamManager& model, const juce::XmlElement& list, bool skipCurrent)
{
    auto& programs = model.programs;
    const int activeProgram = XmlLookup::findAttribute (list, StateXml::activeProgramAttribute) != nullptr
                                  ? programs.indexForPresetNumber (XmlLookup::getInt (list, StateXml::activeProgramAttribute))
                                  : 0;
    int counter = 1;
    for (auto* preset = list.getFirstChildElement(); preset != nullptr; preset = preset->getNextElement())
    {
        if (! preset->getTagName().equalsIgnoreCase (StateXml::presetTag) || XmlLookup::getBool (*preset, StateXml::deletedAttribute))
            continue;

        const int number = XmlLookup::findAttribute (*preset, StateXml::numberAttribute) != nullptr
                               ? XmlLookup::getInt (*preset, StateXml::numberAttribute)
                               : counter;
        const int index = programs.indexForPresetNumber (number);
        auto* program = programs.at (index);
        if (program == nullptr)
            continue;

        const auto* nameText = XmlLookup::findAttribute (*preset, StateXml::nameAttribute);
        programs.rename (index, nameText != nullptr ? *nameText : juce::String());

        if (! (skipCurrent && index == activeProgram))
        {
            const auto* values = XmlLookup::findChild (*preset, StateXml::makerName);
            StateXml::readValues (model, values != nullptr ? *values : *preset, *program);
        }
        ++counter;
    }
}

} // namespace brevalon::StateDocument
