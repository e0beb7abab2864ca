#include "state/UndoController.h"

#include "params/Parameter.h"
#include "state/ParamManager.h"
#include "state/StateXml.h"
#include "state/XmlLookup.h"

#include <algorithm>
#include <climits>

namespace brevalon
{
namespace
{
juce::String quoted (const juce::String& text)
{
    return "\"" + text + "\"";
}
} // namespace

UndoController::UndoController (ParamManager& model_)
    : model (model_),
      history (model_.getCount()),
      gestureActive (static_cast<size_t> (model_.getCount()), 0),
      millisecondClock ([] { return juce::Time::getMillisecondCounter(); })
{
}

void UndoController::setMillisecondClock (std::function<uint32_t()> clock)
{
    millisecondClock = std::move (clock);
}

void UndoController::recordEntry (UndoEntry entry)
{
    entry.valueCount = static_cast<int32_t> (entry.values.size());
    history.record (entry, millisecondClock());
}

void UndoController::record (int32_t kind, int32_t parameterIndex)
{
    recordEntry (capture (kind, parameterIndex));
}

bool UndoController::recordValueChange (int parameterIndex)
{
    const auto* parameter = model.getParameterAt (parameterIndex);
    const bool recorded = (parameter->getOptions() & Parameter::notRecordedInUndo) == 0;
    const bool inGesture = model.isValidIndex (parameterIndex) && gestureActive[(size_t)parameterIndex] != 0;
    if (! recorded || inGesture)
        return false;

    const uint32_t now = millisecondClock();
    auto* newest = history.newestUndoable();
    if (newest != nullptr && newest->kind == UndoEntry::parameterValue && newest->parameterIndex == parameterIndex &&
        now - newest->time < 1000)
    {
        newest->time = now;
        return false;
    }
    record (UndoEntry::parameterValue, parameterIndex);
    return true;
}

bool UndoController::beginGesture (int parameterIndex)
{
    if (! model.isValidIndex (parameterIndex))
        return false;
    if ((model.getParameterAt (parameterIndex)->getOptions() & Parameter::notRecordedInUndo) == 0)
        record (UndoEntry::parameterValue, parameterIndex);
    gestureActive[(size_t)parameterIndex] = 1;
    return true;
}

bool UndoController::endGesture (int parameterIndex)
{
    if (! model.isValidIndex (parameterIndex))
        return false;
    gestureActive[(size_t)parameterIndex] = 0;
    const auto* parameter = model.getParameterAt (parameterIndex);
    const auto* newest = history.newestUndoable();
    if (newest != nullptr && newest->kind == UndoEntry::parameterValue && newest->parameterIndex == parameterIndex &&
        newest->value == parameter->getNormalised() && (parameter->getOptions() & Parameter::notRecordedInUndo) == 0)
    {
        history.removeNewest();
        return true;
    }
    return false;
}

void UndoController::renameCurrentProgram (const juce::String& name)
{
    // Program 0 keeps its name until a program was selected.
    if (model.programs.getCurrentIndex() == 0 && ! model.programs.wasSelected())
        return;
    model.programs.rename (model.programs.getCurrentIndex(), name);
}

bool UndoController::step (bool backwards)
{
    const auto* stored = backwards ? history.newestUndoable() : history.nextRedoable();
    if (stored == nullptr)
        return false;
    const UndoEntry entry = *stored;
    UndoEntry inverse = capture (entry.kind, entry.parameterIndex);
    inverse.time = entry.time;
    apply (entry);
    if (backwards)
        history.stepBack (std::move (inverse));
    else
        history.stepForward (std::move (inverse));
    return true;
}

juce::String UndoController::getUndoDescription() const
{
    return history.canUndo() ? describe (history.entryAt (history.getCursorPosition() - 1)) : juce::String();
}

juce::String UndoController::getRedoDescription() const
{
    return history.canRedo() ? describe (history.entryAt (history.getCursorPosition())) : juce::String();
}

UndoEntry UndoController::capture (int32_t kind, int32_t parameterIndex) const
{
    UndoEntry entry;
    entry.kind = kind;
    switch (kind)
    {
    case UndoEntry::parameterValue:
        entry.parameterIndex = parameterIndex;
        entry.value = model.getParameterAt (parameterIndex)->getNormalised();
        break;
    case UndoEntry::programChange:
        entry.program = model.programs.getCurrentIndex();
        break;
    case UndoEntry::presetValues:
        entry.values = model.currentValues();
        entry.name = model.programs.getCurrent().getName();
        break;
    case UndoEntry::abSwitch:
        entry.isB = model.states.isBActive();
        break;
    case UndoEntry::copyAToB:
    case UndoEntry::copyBToA:
        entry.linkedAtCopy = model.states.isLinked();
        if (! entry.linkedAtCopy)
            entry.values = model.states.get (kind == UndoEntry::copyAToB).getValues();
        break;
    case UndoEntry::presetName:
        entry.name = model.programs.getCurrent().getName();
        break;
    default:
        break;
    }
    entry.valueCount = static_cast<int32_t> (entry.values.size());
    return entry;
}

void UndoController::apply (const UndoEntry& entry)
{
    switch (entry.kind)
    {
    case UndoEntry::parameterValue:
        if (model.isValidIndex (entry.parameterIndex))
            model.getParameterAt (entry.parameterIndex)->setNormalised (entry.value);
        break;
    case UndoEntry::programChange:
        if (model.programs.isValidIndex (entry.program))
            model.switchToProgram (entry.program);
        break;
    case UndoEntry::presetValues:
        model.setAllParameters (entry.values);
        renameCurrentProgram (entry.name);
        break;
    case UndoEntry::abSwitch:
        model.sync();
        model.states.get (entry.isB).applyTo (model);
        model.states.setBActive (entry.isB);
        break;
    case UndoEntry::copyAToB:
    case UndoEntry::copyBToA:
    {
        model.states.setLinked (entry.linkedAtCopy);
        if (entry.linkedAtCopy)
            break;
        // The overwritten state goes back into the parameters when it is the active one,
        // otherwise into its record.
        const bool overwrittenIsB = entry.kind == UndoEntry::copyAToB;
        if (overwrittenIsB == model.states.isBActive())
        {
            model.setAllParameters (entry.values);
        }
        else
        {
            auto& record = model.states.get (overwrittenIsB);
            for (int i = 0; i < record.getValueCount(); ++i)
                record.setValue (i, i < (int)entry.values.size() ? entry.values[(size_t)i] : 0.0f);
        }
        break;
    }
    case UndoEntry::presetName:
        renameCurrentProgram (entry.name);
        break;
    default:
        break;
    }
}

juce::String UndoController::describe (const UndoEntry& entry) const
{
    switch (entry.kind)
    {
    case UndoEntry::parameterValue:
    {
        const auto* parameter = model.getParameterAt (entry.parameterIndex);
        auto text = "Change " + quoted (parameter->getName()) + " parameter value back to " + parameter->textForNormalised (entry.value);
        if (parameter->getUnit().isNotEmpty())
            text << " " << parameter->getUnit();
        return text;
    }
    case UndoEntry::programChange:
    {
        const auto* program = model.programs.at (entry.program);
        return "Change the current preset back to " + quoted (program != nullptr ? program->getName() : juce::String());
    }
    case UndoEntry::presetValues:
        return "Restore " + quoted (entry.name) + " preset values";
    case UndoEntry::abSwitch:
        return juce::String ("Restore A/B back to ") + (entry.isB ? "B" : "A");
    case UndoEntry::copyAToB:
        return entry.linkedAtCopy ? "Revert A>B to initial state" : "Restore overwritten values by copy A>B operation";
    case UndoEntry::copyBToA:
        return entry.linkedAtCopy ? "Revert B>A to initial state" : "Restore overwritten values by copy B>A operation";
    case UndoEntry::presetName:
        return "Restore the preset name back to " + quoted (entry.name);
    default:
        return {};
    }
}

int UndoController::forgetProgram (int program)
{
    history.dropRedo();
    const int count = history.getNumEntries();

    constexpr int none = INT_MIN;
    int running = program;
    int returnProgram = none;
    for (int k = count - 1; k >= 0; --k)
    {
        auto& entry = history.entryAt (k);
        switch (entry.kind)
        {
        case UndoEntry::parameterValue:
        case UndoEntry::presetValues:
        case UndoEntry::presetName:
            if (running == program)
                entry.kind = UndoEntry::purged;
            break;
        case UndoEntry::programChange:
            running = entry.program;
            if (returnProgram == none)
            {
                if (running == program)
                {
                    entry.kind = UndoEntry::purged;
                    break;
                }
                returnProgram = running;
            }
            if (running == program)
                entry.kind = UndoEntry::purged;
            break;
        default:
            break;
        }
    }

    int after = program;
    for (int k = count - 1; k >= 0; --k)
    {
        auto& entry = history.entryAt (k);
        if (entry.kind != UndoEntry::programChange)
            continue;
        if (entry.program == after)
            entry.kind = UndoEntry::purged;
        else
            after = entry.program;
    }

    std::vector<UndoEntry> kept;
    for (int k = 0; k < count; ++k)
        if (history.entryAt (k).kind != UndoEntry::purged)
            kept.push_back (history.entryAt (k));
    if (! kept.empty() && kept.back().kind == UndoEntry::programChange && kept.back().program == returnProgram)
        kept.pop_back();
    history.replaceWith (kept);
    return returnProgram == none ? 0 : returnProgram;
}

void UndoController::write (juce::XmlElement& root) const
{
    auto* undo = root.createNewChildElement (StateXml::undoTag);
    const int count = history.getNumEntries();
    const int newestUndoable = history.getCursorPosition() - 1;
    for (int k = 0; k < count; ++k)
    {
        const auto& entry = history.entryAt (k);
        auto* item = undo->createNewChildElement (StateXml::undoItemTag);
        item->setAttribute (StateXml::undoKindAttribute, entry.kind);
        auto writeCopy = [&]
        {
            item->setAttribute (StateXml::undoLinkedAttribute, entry.linkedAtCopy ? 1 : 0);
            if (! entry.linkedAtCopy)
                for (int i = 0; i < history.getValueCount(); ++i)
                    item->setAttribute (StateXml::undoValuePrefix + juce::String (i),
                                        (double)(i < (int)entry.values.size() ? entry.values[(size_t)i] : 0.0f));
        };
        switch (entry.kind)
        {
        case UndoEntry::parameterValue:
            item->setAttribute (StateXml::undoIndexAttribute, entry.parameterIndex);
            item->setAttribute (StateXml::undoValueAttribute, (double)entry.value);
            break;
        case UndoEntry::programChange:
            item->setAttribute (StateXml::undoIndexAttribute, entry.program);
            break;
        case UndoEntry::presetValues:
            item->setAttribute (StateXml::undoNameAttribute, entry.name);
            writeCopy();
            break;
        case UndoEntry::abSwitch:
            item->setAttribute (StateXml::undoIsBAttribute, entry.isB ? 1 : 0);
            break;
        case UndoEntry::copyAToB:
        case UndoEntry::copyBToA:
            writeCopy();
            break;
        case UndoEntry::presetName:
            item->setAttribute (StateXml::undoNameAttribute, entry.name);
            break;
        default:
            break;
        }
        if (k == newestUndoable)
            item->setAttribute (StateXml::undoNewestAttribute, 1);
    }
}

bool UndoController::append (const juce::XmlElement& root)
{
    const auto* undo = XmlLookup::findChild (root, StateXml::undoTag);
    if (undo == nullptr)
        return false;

    const int valueCount = history.getValueCount();
    int loaded = 0;
    int loadedAfterMark = -1; // entries loaded after the one marked active
    for (auto* item = undo->getFirstChildElement(); item != nullptr; item = item->getNextElement())
    {
        if (! item->getTagName().equalsIgnoreCase (StateXml::undoItemTag))
            continue;

        UndoEntry entry;
        entry.kind = XmlLookup::getInt (*item, StateXml::undoKindAttribute, 0);
        auto readValues = [&]
        {
            entry.linkedAtCopy = XmlLookup::getBool (*item, StateXml::undoLinkedAttribute);
            entry.values.assign ((size_t)valueCount, 0.0f);
            for (int i = 0; i < valueCount; ++i)
                entry.values[(size_t)i] =
                    StateXml::sanitised ((float)XmlLookup::getDouble (*item, StateXml::undoValuePrefix + juce::String (i), 0.0), 0.0f);
        };
        switch (entry.kind)
        {
        case UndoEntry::parameterValue:
            entry.parameterIndex = XmlLookup::getInt (*item, StateXml::undoIndexAttribute);
            entry.value = StateXml::sanitised ((float)XmlLookup::getDouble (*item, StateXml::undoValueAttribute, 0.0), 0.0f);
            break;
        case UndoEntry::programChange:
            entry.program = XmlLookup::getInt (*item, StateXml::undoIndexAttribute);
            break;
        case UndoEntry::presetValues:
            entry.name = item->getStringAttribute (StateXml::undoNameAttribute);
            if (const auto* name = XmlLookup::findAttribute (*item, StateXml::undoNameAttribute))
                entry.name = *name;
            readValues();
            entry.linkedAtCopy = false;
            break;
        case UndoEntry::abSwitch:
            entry.isB = XmlLookup::getBool (*item, StateXml::undoIsBAttribute);
            break;
        case UndoEntry::copyAToB:
        case UndoEntry::copyBToA:
            readValues();
            if (entry.linkedAtCopy)
                entry.values.clear();
            break;
        case UndoEntry::presetName:
            if (const auto* name = XmlLookup::findAttribute (*item, StateXml::undoNameAttribute))
                entry.name = *name;
            break;
        default:
            break;
        }
        recordEntry (std::move (entry));
        ++loaded;
        if (loadedAfterMark >= 0)
            ++loadedAfterMark;
        if (XmlLookup::getBool (*item, StateXml::undoNewestAttribute))
            loadedAfterMark = 0;
    }

    if (loaded == 0)
        return false;
    // Without a mark every loaded entry is a redo entry. Marks or first entries that fell out of
    // the ring leave nothing to undo from the loaded part.
    const int redoCount = loadedAfterMark >= 0 ? loadedAfterMark : loaded;
    history.setCursorPosition (history.getNumEntries() - std::min (redoCount, history.getNumEntries()));
    return true;
}

} // namespace brevalon
