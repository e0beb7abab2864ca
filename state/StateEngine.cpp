#include "state/StateEngine.h"

#include "state/ParamManager.h"
#include "params/Parameter.h"
#include "state/XmlLookup.h"

#include <climits>
#include <cmath>
#include <optional>

namespace brevalon
{

namespace
{
constexpr const char* logicalTag = "logical";

// A normalised value from a document: NaN falls back, everything else is clamped into 0..1.
float sanitised (float value, float fallback) noexcept
{
    if (std::isnan (value))
        return std::isnan (fallback) ? 0.0f : fallback;
    return juce::jlimit (0.0f, 1.0f, value);
}

juce::String quoted (const juce::String& text)
{
    return "\"" + text + "\"";
}
} // namespace

StateEngine::StateEngine (std::unique_ptr<ParamManager> modelToOwn, const juce::String& userPresetFileName_, SharedFolder sharedFolder)
    : model (std::move (modelToOwn)),
      userPresetFileName (userPresetFileName_),
      userPresetFile (std::move (sharedFolder), userPresetFileName_),
      gestureActive (static_cast<size_t> (model->getCount()), 0),
      history (model->getCount()),
      millisecondClock ([] { return juce::Time::getMillisecondCounter(); })
{
    loadUserPresets();
    recomputeFlags();
}

StateEngine::~StateEngine() = default;

void StateEngine::setMillisecondClock (std::function<uint32_t()> clock)
{
    const juce::ScopedLock sl (lock);
    millisecondClock = std::move (clock);
}

bool StateEngine::takePresetsChanged() noexcept
{
    return model->presetsChanged.exchange (false);
}
bool StateEngine::takeProgramChanged() noexcept
{
    return model->programChanged.exchange (false);
}
int StateEngine::getCurrentProgram() const noexcept
{
    return model->currentProgram.load();
}
bool StateEngine::isBActive() const noexcept
{
    return model->isB.load();
}
bool StateEngine::isLinked() const noexcept
{
    return model->linked.load();
}

//==============================================================================
int StateEngine::presetNumberForProgram (const ParamManager& m, int program) noexcept
{
    return program < m.factoryProgramCount ? program + 1 : 1000 + (program - m.factoryProgramCount);
}

int StateEngine::programForPresetNumber (const ParamManager& m, int number) noexcept
{
    // Computed in 64 bits: documents may carry any integer.
    const long long index = number >= 1000 ? (long long)m.factoryProgramCount + ((long long)number - 1000) : (long long)number - 1;
    return (int)juce::jlimit<long long> (INT_MIN, INT_MAX, index);
}

std::vector<float> StateEngine::currentValues() const
{
    std::vector<float> values;
    for (int i = 0; i < model->getCount(); ++i)
        values.push_back (model->getParameterAt (i)->getNormalised());
    return values;
}

void StateEngine::setAllParameters (const std::vector<float>& values)
{
    for (int i = 0; i < model->getCount(); ++i)
        model->getParameterAt (i)->setNormalised (i < (int)values.size() ? values[(size_t)i] : 0.0f);
}

//==============================================================================
void StateEngine::recomputeStatesEqual()
{
    const auto& inactive = model->isB ? model->stateA : model->stateB;
    bool equal = true;
    for (int i = 0; i < model->getCount() && equal; ++i)
        equal = model->getParameterAt (i)->getNormalised() == inactive.getValue (i);
    statesEqual = equal;
}

void StateEngine::recomputeProgramModified()
{
    const int current = model->currentProgram;
    const auto* program = model->programs.at (current);
    const auto* stored = model->storedPrograms.at (current);
    if (program == nullptr || stored == nullptr)
    {
        programModified = false;
        return;
    }
    bool modified = program->getName() != stored->getName();
    for (int i = 0; i < program->getValueCount() && ! modified; ++i)
        modified = ! (program->getValue (i) == stored->getValue (i));
    programModified = modified;
}

void StateEngine::recomputeFlags()
{
    recomputeStatesEqual();
    recomputeProgramModified();
}

void StateEngine::sync()
{
    const juce::ScopedLock sl (lock);
    if (auto* program = model->programs.at (model->currentProgram))
        program->storeCurrentValues (*model);
    if (model->linked)
    {
        model->stateA.storeCurrentValues (*model);
        model->stateB.storeCurrentValues (*model);
    }
    else
    {
        (model->isB ? model->stateB : model->stateA).storeCurrentValues (*model);
    }
}

void StateEngine::resetToStoredPrograms()
{
    const juce::ScopedLock sl (lock);
    for (int p = 0; p < model->programs.getCount(); ++p)
        model->programs[p] = model->storedPrograms[p];
    model->currentProgram = 0;
    model->isB = false;
    model->programs[0].applyTo (*model);
    model->stateA = model->programs[0];
    model->stateB = model->programs[0];
    model->linked = true;
    model->programChanged = true;
    model->presetsChanged = true;
    recomputeFlags();
}

//==============================================================================
void StateEngine::writeParameterValues (juce::XmlElement& element, bool withLogical) const
{
    PresetRecord current (model->getCount());
    current.storeCurrentValues (*model);
    writeRecordValues (element, current, withLogical);
}

void StateEngine::writeRecordValues (juce::XmlElement& element, const PresetRecord& record, bool withLogical) const
{
    for (int i = 0; i < model->getCount(); ++i)
    {
        const auto* parameter = model->getParameterAt (i);
        element.setAttribute (parameter->getId(), parameter->textForNormalised (record.getValue (i)));
    }
    if (! withLogical)
        return;

    auto* logical = element.getChildByName (logicalTag);
    if (logical == nullptr)
        logical = element.createNewChildElement (logicalTag);
    for (int i = 0; i < model->getCount(); ++i)
    {
        const auto* parameter = model->getParameterAt (i);
        logical->setAttribute (parameter->getId(), parameter->normalisedToPlain (record.getValue (i)));
    }
}

void StateEngine::readParameterValues (const juce::XmlElement& element, PresetRecord& record) const
{
    readParameterValues (*model, element, record);
}

void StateEngine::readParameterValues (const ParamManager& m, const juce::XmlElement& element, PresetRecord& record)
{
    const auto* logical = XmlLookup::findChild (element, logicalTag);
    for (int i = 0; i < m.getCount(); ++i)
    {
        auto* parameter = m.getParameterAt (i);
        const auto id = parameter->getId();
        float value = record.getValue (i);

        std::optional<float> fromLogical;
        if (logical != nullptr && XmlLookup::findAttribute (*logical, id) != nullptr)
        {
            const double plain = XmlLookup::getDouble (*logical, id, std::nan (""));
            if (! std::isnan (plain))
                fromLogical = parameter->plainToNormalised (plain);
        }

        if (const auto* text = XmlLookup::findAttribute (element, id))
        {
            float parsed = value;
            const bool understood = parameter->parseNormalised (*text, parsed);
            value = parsed;
            // The text is rounded to the parameter's decimals; when the exact plain value beside
            // it shows the same text, it restores the value without that rounding.
            if (understood && fromLogical && parameter->textForNormalised (*fromLogical) == parameter->textForNormalised (parsed))
                value = *fromLogical;
            else if (! understood && fromLogical)
                value = *fromLogical;
        }
        else if (fromLogical)
        {
            value = *fromLogical;
        }

        record.setValue (i, sanitised (value, record.getValue (i)));
    }
    record.active = true;
}

void StateEngine::loadParameterValuesWithUndo (const juce::XmlElement& element)
{
    const juce::ScopedLock sl (lock);
    recordEntry (capture (UndoEntry::presetValues, 0));
    PresetRecord values (model->getCount());
    for (int i = 0; i < model->getCount(); ++i)
    {
        const auto* parameter = model->getParameterAt (i);
        values.setValue (i, parameter->plainToNormalised (parameter->getDefault()));
    }
    readParameterValues (element, values);
    setAllParameters (values.getValues());
    recomputeStatesEqual();
    programModified = false;
    historyChanged = true;
}

//==============================================================================
std::unique_ptr<juce::XmlElement> StateEngine::createStateDocument()
{
    auto root = std::make_unique<juce::XmlElement> (documentTag);
    writeState (*root);
    return root;
}

void StateEngine::restoreFromDocument (const juce::XmlElement* root)
{
    if (root != nullptr && root->getTagName().equalsIgnoreCase (documentTag))
        readState (*root);
    else
        resetToStoredPrograms();
}

void StateEngine::writeState (juce::XmlElement& root)
{
    const juce::ScopedLock sl (lock);
    sync();
    writeParameterValues (root, true);

    auto* presets = root.createNewChildElement ("presets");
    presets->setAttribute ("active", presetNumberForProgram (*model, model->currentProgram));
    for (int p = 0; p < model->programs.getCount(); ++p)
    {
        const auto& program = model->programs[p];
        if (! program.dirty)
            continue;
        auto* preset = presets->createNewChildElement ("preset");
        preset->setAttribute ("_No_", presetNumberForProgram (*model, p));
        preset->setAttribute ("_Name_", program.getName());
        if (p != model->currentProgram)
            writeRecordValues (*preset, program, true);
    }

    for (const bool b : { false, true })
    {
        auto* state = root.createNewChildElement (b ? "B" : "A");
        const bool active = model->isB == b;
        state->setAttribute ("_Active_", active ? 1 : 0);
        if (active)
            continue;
        if (model->linked)
            state->setAttribute ("_Linked_", 1);
        else
            writeRecordValues (*state, b ? model->stateB : model->stateA, true);
    }

    writeHistory (root);
}

void StateEngine::readState (const juce::XmlElement& root)
{
    const juce::ScopedLock sl (lock);

    PresetRecord values (model->getCount());
    for (int i = 0; i < model->getCount(); ++i)
    {
        const auto* parameter = model->getParameterAt (i);
        values.setValue (i, parameter->plainToNormalised (parameter->getDefault()));
    }
    readParameterValues (root, values);
    setAllParameters (values.getValues());

    if (const auto* presets = XmlLookup::findChild (root, "presets"))
    {
        readProgramList (*model, *presets, true);
        // A number that names no program (a damaged or foreign chunk) keeps the current one.
        const int active = programForPresetNumber (*model, XmlLookup::getInt (*presets, "active", 1));
        if (model->programs.isValidIndex (active))
        {
            if (active != model->currentProgram)
                model->programChanged = true;
            model->currentProgram = active;
        }
    }

    for (const bool b : { false, true })
    {
        const auto* state = XmlLookup::findChild (root, b ? "B" : "A");
        if (state == nullptr)
            continue;
        const bool active = XmlLookup::getBool (*state, "_Active_");
        if (! active)
        {
            model->linked = XmlLookup::getBool (*state, "_Linked_");
            if (! model->linked)
                readParameterValues (*state, b ? model->stateB : model->stateA);
        }
        model->isB = b ? active : ! active;
    }

    sync();
    model->programSelected = true;
    appendHistory (root);
    recomputeFlags();
    historyChanged = true;
}

//==============================================================================
void StateEngine::initialisePrograms (ParamManager& m)
{
    for (int p = 0; p < m.programs.getCount(); ++p)
    {
        juce::String name;
        if (p == 0)
            name = "Default";
        else if (p < m.factoryProgramCount)
            name = juce::String::formatted ("PRST%03d", p);
        else
            name = juce::String::formatted ("USER%03d", p - m.factoryProgramCount + 1);
        m.programs[p].setName (name);
        m.programs[p].storeCurrentValues (m);
    }
    for (int p = 0; p < m.programs.getCount(); ++p)
    {
        m.programs[p].dirty = false;
        m.storedPrograms[p] = m.programs[p];
    }
    m.stateA = m.programs[0];
    m.stateB = m.programs[0];
}

void StateEngine::loadFactoryPresets (ParamManager& m, const juce::XmlElement& presetsRoot)
{
    readProgramList (m, presetsRoot, false);
    for (int p = 0; p < m.programs.getCount(); ++p)
    {
        m.programs[p].dirty = false;
        m.storedPrograms[p] = m.programs[p];
    }
    if (auto* current = m.programs.at (m.currentProgram))
    {
        current->applyTo (m);
        m.stateA = *current;
        m.stateB = *current;
    }
}

void StateEngine::readProgramList (ParamManager& m, const juce::XmlElement& list, bool skipCurrent)
{
    const int activeProgram =
        XmlLookup::findAttribute (list, "active") != nullptr ? programForPresetNumber (m, XmlLookup::getInt (list, "active")) : 0;
    int counter = 1;
    for (auto* preset = list.getFirstChildElement(); preset != nullptr; preset = preset->getNextElement())
    {
        if (! preset->getTagName().equalsIgnoreCase ("preset") || XmlLookup::getBool (*preset, "_Deleted_"))
            continue;

        const int number = XmlLookup::findAttribute (*preset, "_No_") != nullptr ? XmlLookup::getInt (*preset, "_No_") : counter;
        auto* program = m.programs.at (programForPresetNumber (m, number));
        if (program == nullptr)
            continue;

        const auto* nameText = XmlLookup::findAttribute (*preset, "_Name_");
        if (program->setName (nameText != nullptr ? *nameText : juce::String()))
            m.presetsChanged = true;

        if (! (skipCurrent && programForPresetNumber (m, number) == activeProgram))
        {
            const auto* values = XmlLookup::findChild (*preset, presetValuesTag);
            readParameterValues (m, values != nullptr ? *values : *preset, *program);
        }
        ++counter;
    }
}

//==============================================================================
void StateEngine::setValueFromHost (int parameterIndex, float normalised)
{
    // Hosts may automate from the audio thread: no lock here. The value and its change flags
    // are atomic, and so are the two derived flags.
    model->getParameterAt (parameterIndex)->setNormalised (normalised);
    statesEqual = false;
    programModified = true;
}

void StateEngine::setValueWithUndo (int parameterIndex, float normalised)
{
    const juce::ScopedLock sl (lock);
    auto* parameter = model->getParameterAt (parameterIndex);
    const bool recorded = (parameter->getOptions() & Parameter::notRecordedInUndo) == 0;
    const bool inGesture = model->isValidIndex (parameterIndex) && gestureActive[(size_t)parameterIndex] != 0;
    if (recorded && ! inGesture)
    {
        const uint32_t now = millisecondClock();
        auto* newest = history.newestUndoable();
        if (newest != nullptr && newest->kind == UndoEntry::parameterValue && newest->parameterIndex == parameterIndex &&
            now - newest->time < 1000)
        {
            newest->time = now;
        }
        else
        {
            recordEntry (capture (UndoEntry::parameterValue, parameterIndex));
            historyChanged = true;
        }
    }
    parameter->setNormalised (normalised);
    statesEqual = false;
    programModified = true;
}

void StateEngine::beginGesture (int parameterIndex)
{
    const juce::ScopedLock sl (lock);
    if (! model->isValidIndex (parameterIndex))
        return;
    if ((model->getParameterAt (parameterIndex)->getOptions() & Parameter::notRecordedInUndo) == 0)
        recordEntry (capture (UndoEntry::parameterValue, parameterIndex));
    gestureActive[(size_t)parameterIndex] = 1;
    historyChanged = true;
}

void StateEngine::endGesture (int parameterIndex)
{
    const juce::ScopedLock sl (lock);
    if (! model->isValidIndex (parameterIndex))
        return;
    auto* parameter = model->getParameterAt (parameterIndex);
    auto* newest = history.newestUndoable();
    if (newest != nullptr && newest->kind == UndoEntry::parameterValue && newest->parameterIndex == parameterIndex &&
        newest->value == parameter->getNormalised() && (parameter->getOptions() & Parameter::notRecordedInUndo) == 0)
    {
        history.removeNewest();
        recomputeStatesEqual();
        historyChanged = true;
    }
    gestureActive[(size_t)parameterIndex] = 0;
}

//==============================================================================
void StateEngine::recordEntry (UndoEntry entry)
{
    entry.valueCount = static_cast<int32_t> (entry.values.size());
    history.record (entry, millisecondClock());
}

UndoEntry StateEngine::capture (int32_t kind, int32_t parameterIndex) const
{
    UndoEntry entry;
    entry.kind = kind;
    switch (kind)
    {
    case UndoEntry::parameterValue:
        entry.parameterIndex = parameterIndex;
        entry.value = model->getParameterAt (parameterIndex)->getNormalised();
        break;
    case UndoEntry::programChange:
        entry.program = model->currentProgram;
        break;
    case UndoEntry::presetValues:
        entry.values = currentValues();
        entry.name = getCurrentProgramName();
        break;
    case UndoEntry::abSwitch:
        entry.isB = model->isB;
        break;
    case UndoEntry::copyAToB:
    case UndoEntry::copyBToA:
        entry.linkedAtCopy = model->linked;
        if (! entry.linkedAtCopy)
            entry.values = (kind == UndoEntry::copyAToB ? model->stateB : model->stateA).getValues();
        break;
    case UndoEntry::presetName:
        entry.name = getCurrentProgramName();
        break;
    default:
        break;
    }
    entry.valueCount = static_cast<int32_t> (entry.values.size());
    return entry;
}

void StateEngine::renameCurrentProgramFromHistory (const juce::String& name)
{
    if (model->currentProgram == 0 && ! model->programSelected)
        return;
    if (auto* program = model->programs.at (model->currentProgram))
        if (program->setName (name))
            model->presetsChanged = true;
}

void StateEngine::apply (const UndoEntry& entry)
{
    switch (entry.kind)
    {
    case UndoEntry::parameterValue:
        if (model->isValidIndex (entry.parameterIndex))
            model->getParameterAt (entry.parameterIndex)->setNormalised (entry.value);
        break;
    case UndoEntry::programChange:
        if (model->programs.isValidIndex (entry.program))
            switchToProgram (entry.program);
        break;
    case UndoEntry::presetValues:
        setAllParameters (entry.values);
        renameCurrentProgramFromHistory (entry.name);
        break;
    case UndoEntry::abSwitch:
        sync();
        (entry.isB ? model->stateB : model->stateA).applyTo (*model);
        model->isB = entry.isB;
        break;
    case UndoEntry::copyAToB:
    case UndoEntry::copyBToA:
    {
        model->linked = entry.linkedAtCopy;
        if (entry.linkedAtCopy)
            break;
        // The overwritten state goes back into the parameters when it is the active one,
        // otherwise into its record.
        const bool overwrittenIsB = entry.kind == UndoEntry::copyAToB;
        if (overwrittenIsB == model->isB.load())
        {
            setAllParameters (entry.values);
        }
        else
        {
            auto& record = overwrittenIsB ? model->stateB : model->stateA;
            for (int i = 0; i < record.getValueCount(); ++i)
                record.setValue (i, i < (int)entry.values.size() ? entry.values[(size_t)i] : 0.0f);
        }
        break;
    }
    case UndoEntry::presetName:
        renameCurrentProgramFromHistory (entry.name);
        break;
    default:
        break;
    }
}

bool StateEngine::canUndo() const
{
    const juce::ScopedLock sl (lock);
    return history.canUndo();
}

bool StateEngine::canRedo() const
{
    const juce::ScopedLock sl (lock);
    return history.canRedo();
}

void StateEngine::undo()
{
    step (true);
}

void StateEngine::redo()
{
    step (false);
}

void StateEngine::step (bool backwards)
{
    const juce::ScopedLock sl (lock);
    const auto* stored = backwards ? history.newestUndoable() : history.nextRedoable();
    if (stored == nullptr)
        return;
    const UndoEntry entry = *stored;
    UndoEntry inverse = capture (entry.kind, entry.parameterIndex);
    inverse.time = entry.time;
    apply (entry);
    if (backwards)
        history.stepBack (std::move (inverse));
    else
        history.stepForward (std::move (inverse));
    recomputeFlags();
    historyChanged = true;
}

juce::String StateEngine::getUndoDescription() const
{
    const juce::ScopedLock sl (lock);
    return history.canUndo() ? describe (history.entryAt (history.getCursorPosition() - 1)) : juce::String();
}

juce::String StateEngine::getRedoDescription() const
{
    const juce::ScopedLock sl (lock);
    return history.canRedo() ? describe (history.entryAt (history.getCursorPosition())) : juce::String();
}

juce::String StateEngine::describe (const UndoEntry& entry) const
{
    switch (entry.kind)
    {
    case UndoEntry::parameterValue:
    {
        const auto* parameter = model->getParameterAt (entry.parameterIndex);
        auto text = "Change " + quoted (parameter->getName()) + " parameter value back to " + parameter->textForNormalised (entry.value);
        if (parameter->getUnit().isNotEmpty())
            text << " " << parameter->getUnit();
        return text;
    }
    case UndoEntry::programChange:
    {
        const auto* program = model->programs.at (entry.program);
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

int StateEngine::forgetProgram (int program)
{
    const juce::ScopedLock sl (lock);
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
    historyChanged = true;
    return returnProgram == none ? 0 : returnProgram;
}

void StateEngine::writeHistory (juce::XmlElement& root) const
{
    const juce::ScopedLock sl (lock);
    auto* undo = root.createNewChildElement ("undo");
    const int count = history.getNumEntries();
    const int newestUndoable = history.getCursorPosition() - 1;
    for (int k = 0; k < count; ++k)
    {
        const auto& entry = history.entryAt (k);
        auto* item = undo->createNewChildElement ("ui");
        item->setAttribute ("op", entry.kind);
        auto writeCopy = [&]
        {
            item->setAttribute ("ab", entry.linkedAtCopy ? 1 : 0);
            if (! entry.linkedAtCopy)
                for (int i = 0; i < history.getValueCount(); ++i)
                    item->setAttribute ("pv" + juce::String (i), (double)(i < (int)entry.values.size() ? entry.values[(size_t)i] : 0.0f));
        };
        switch (entry.kind)
        {
        case UndoEntry::parameterValue:
            item->setAttribute ("pi", entry.parameterIndex);
            item->setAttribute ("nv", (double)entry.value);
            break;
        case UndoEntry::programChange:
            item->setAttribute ("pi", entry.program);
            break;
        case UndoEntry::presetValues:
            item->setAttribute ("pn", entry.name);
            writeCopy();
            break;
        case UndoEntry::abSwitch:
            item->setAttribute ("is_b", entry.isB ? 1 : 0);
            break;
        case UndoEntry::copyAToB:
        case UndoEntry::copyBToA:
            writeCopy();
            break;
        case UndoEntry::presetName:
            item->setAttribute ("pn", entry.name);
            break;
        default:
            break;
        }
        if (k == newestUndoable)
            item->setAttribute ("active", 1);
    }
}

void StateEngine::appendHistory (const juce::XmlElement& root)
{
    const juce::ScopedLock sl (lock);
    const auto* undo = XmlLookup::findChild (root, "undo");
    if (undo == nullptr)
        return;

    const int valueCount = history.getValueCount();
    int loaded = 0;
    int loadedAfterMark = -1; // entries loaded after the one marked active
    for (auto* item = undo->getFirstChildElement(); item != nullptr; item = item->getNextElement())
    {
        if (! item->getTagName().equalsIgnoreCase ("ui"))
            continue;

        UndoEntry entry;
        entry.kind = XmlLookup::getInt (*item, "op", 0);
        auto readValues = [&]
        {
            entry.linkedAtCopy = XmlLookup::getBool (*item, "ab");
            entry.values.assign ((size_t)valueCount, 0.0f);
            for (int i = 0; i < valueCount; ++i)
                entry.values[(size_t)i] = sanitised ((float)XmlLookup::getDouble (*item, "pv" + juce::String (i), 0.0), 0.0f);
        };
        switch (entry.kind)
        {
        case UndoEntry::parameterValue:
            entry.parameterIndex = XmlLookup::getInt (*item, "pi");
            entry.value = sanitised ((float)XmlLookup::getDouble (*item, "nv", 0.0), 0.0f);
            break;
        case UndoEntry::programChange:
            entry.program = XmlLookup::getInt (*item, "pi");
            break;
        case UndoEntry::presetValues:
            entry.name = item->getStringAttribute ("pn");
            if (const auto* name = XmlLookup::findAttribute (*item, "pn"))
                entry.name = *name;
            readValues();
            entry.linkedAtCopy = false;
            break;
        case UndoEntry::abSwitch:
            entry.isB = XmlLookup::getBool (*item, "is_b");
            break;
        case UndoEntry::copyAToB:
        case UndoEntry::copyBToA:
            readValues();
            if (entry.linkedAtCopy)
                entry.values.clear();
            break;
        case UndoEntry::presetName:
            if (const auto* name = XmlLookup::findAttribute (*item, "pn"))
                entry.name = *name;
            break;
        default:
            break;
        }
        recordEntry (std::move (entry));
        ++loaded;
        if (loadedAfterMark >= 0)
            ++loadedAfterMark;
        if (XmlLookup::getBool (*item, "active"))
            loadedAfterMark = 0;
    }

    if (loaded == 0)
        return;
    // Without a mark every loaded entry is a redo entry. Marks or first entries that fell out of
    // the ring leave nothing to undo from the loaded part.
    const int redoCount = loadedAfterMark >= 0 ? loadedAfterMark : loaded;
    history.setCursorPosition (history.getNumEntries() - std::min (redoCount, history.getNumEntries()));
    historyChanged = true;
}

//==============================================================================
void StateEngine::switchToProgram (int index)
{
    sync();
    model->programs[index].applyTo (*model);
    if (index != model->currentProgram)
        model->programChanged = true;
    model->currentProgram = index;
    model->programSelected = true;
}

bool StateEngine::isAvailable (int index) const
{
    const juce::ScopedLock sl (lock);
    if (index >= 0 && index < model->factoryProgramCount)
        return true;
    const auto* program = model->programs.at (index);
    return program != nullptr && program->active;
}

void StateEngine::selectProgram (int index)
{
    const juce::ScopedLock sl (lock);
    recordEntry (capture (UndoEntry::programChange, 0));
    if (model->programs.isValidIndex (index))
        switchToProgram (index);
    recomputeFlags();
    historyChanged = true;
}

int StateEngine::previousAvailable() const
{
    const juce::ScopedLock sl (lock);
    for (int p = model->currentProgram - 1; p >= 0; --p)
        if (isAvailable (p))
            return p;
    return -1;
}

int StateEngine::nextAvailable() const
{
    const juce::ScopedLock sl (lock);
    for (int p = model->currentProgram + 1; p < model->programs.getCount(); ++p)
        if (isAvailable (p))
            return p;
    return -1;
}

bool StateEngine::previousProgram()
{
    return stepProgram (true);
}

bool StateEngine::nextProgram()
{
    return stepProgram (false);
}

bool StateEngine::stepProgram (bool down)
{
    const juce::ScopedLock sl (lock);
    const int target = down ? previousAvailable() : nextAvailable();
    recordEntry (capture (UndoEntry::programChange, 0));
    if (target >= 0)
        switchToProgram (target);
    else
        history.removeNewest();
    recomputeFlags();
    historyChanged = true;
    return target >= 0;
}

void StateEngine::renameProgram (int index, const juce::String& newName)
{
    const juce::ScopedLock sl (lock);
    auto* program = model->programs.at (index);
    if (program == nullptr)
        return;
    const bool guarded = index == 0 && ! model->programSelected;

    if (index == model->currentProgram)
    {
        recordEntry (capture (UndoEntry::presetName, 0));
        const bool changed = ! guarded && program->setName (newName);
        if (changed)
        {
            model->presetsChanged = true;
            historyChanged = true;
            programModified = true;
            return;
        }
        history.removeNewest();
        historyChanged = true;
        return;
    }

    if (! guarded && program->setName (newName))
    {
        model->presetsChanged = true;
        programModified = true;
    }
}

juce::String StateEngine::getCurrentProgramName() const
{
    const juce::ScopedLock sl (lock);
    const auto* program = model->programs.at (model->currentProgram);
    return program != nullptr ? program->getName() : juce::String();
}

juce::String StateEngine::getProgramNameForDisplay (int index) const
{
    const juce::ScopedLock sl (lock);
    const auto* program = model->programs.at (index);
    const auto name = program != nullptr ? program->getName() : juce::String();
    return name.isEmpty() ? juce::String ("N/A") : name;
}

bool StateEngine::programNameExists (const juce::String& name) const
{
    const juce::ScopedLock sl (lock);
    const auto wanted = name.toLowerCase();
    for (int p = 0; p < model->programs.getCount(); ++p)
        if (model->programs[p].getName().toLowerCase() == wanted)
            return true;
    return false;
}

void StateEngine::resetCurrentProgram()
{
    const juce::ScopedLock sl (lock);
    recordEntry (capture (UndoEntry::presetValues, 0));
    const int current = model->currentProgram;
    if (current < model->factoryProgramCount)
    {
        const bool nameChanged = model->programs[current].getName() != model->storedPrograms[current].getName();
        model->programs[current] = model->storedPrograms[current];
        if (nameChanged)
            model->presetsChanged = true;
        model->programs[current].applyTo (*model);
    }
    else
    {
        reloadUserSlot (current);
    }
    recomputeStatesEqual();
    programModified = false;
    historyChanged = true;
}

//==============================================================================
bool StateEngine::isUserSlot (int program) const noexcept
{
    return program >= model->factoryProgramCount && program < model->factoryProgramCount + model->userSlotCount &&
           model->programs.isValidIndex (program);
}

void StateEngine::loadUserPresets()
{
    std::unique_ptr<juce::XmlElement> document;
    if (userPresetFile.read (document) != UserPresetFile::Content::parsed ||
        ! document->getTagName().equalsIgnoreCase (UserPresetFile::rootTag))
        return;
    const auto* presets = XmlLookup::findChild (*document, "presets");
    if (presets == nullptr)
        return;

    // Only the user slots: the file is shared, and its other entries must not reach the factory programs.
    for (int p = model->factoryProgramCount; p < model->factoryProgramCount + model->userSlotCount; ++p)
        if (const auto* preset = UserPresetFile::findPreset (*presets, presetNumberForProgram (*model, p)))
            readUserPreset (*preset, model->programs[p]);
    for (int p = 0; p < model->programs.getCount(); ++p)
        model->programs[p].dirty = false;
    if (auto* current = model->programs.at (model->currentProgram))
    {
        current->applyTo (*model);
        model->stateA = *current;
        model->stateB = *current;
    }
}

void StateEngine::readUserPreset (const juce::XmlElement& preset, PresetRecord& program)
{
    const auto* name = XmlLookup::findAttribute (preset, "_Name_");
    if (program.setName (name != nullptr ? *name : juce::String()))
        model->presetsChanged = true;
    readParameterValues (preset, program);
    program.dirty = false;
}

int StateEngine::firstFreeSlot() const
{
    const juce::ScopedLock fl (UserPresetFile::getFileLock());
    std::unique_ptr<juce::XmlElement> document;
    const juce::XmlElement* presets = nullptr;
    if (userPresetFile.read (document) == UserPresetFile::Content::parsed)
        presets = XmlLookup::findChild (*document, "presets");
    if (presets == nullptr)
        return model->factoryProgramCount;

    for (int p = model->factoryProgramCount; p < model->factoryProgramCount + model->userSlotCount; ++p)
        if (model->programs.isValidIndex (p) && UserPresetFile::findPreset (*presets, presetNumberForProgram (*model, p)) == nullptr)
            return p;
    return -1;
}

int StateEngine::saveAsNewUserPreset (int slot, const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    const juce::ScopedLock fl (UserPresetFile::getFileLock());

    // Another instance may have saved into this slot since the editor asked for it: then the
    // preset goes into the next free one instead of replacing that instance's preset.
    const int free = firstFreeSlot();
    if (free < 0)
        return -1;
    if (slot != free)
    {
        bool taken = ! isUserSlot (slot);
        std::unique_ptr<juce::XmlElement> document;
        if (! taken && userPresetFile.read (document) == UserPresetFile::Content::parsed)
            if (auto* presets = XmlLookup::findChild (*document, "presets"))
                taken = UserPresetFile::findPreset (*presets, presetNumberForProgram (*model, slot)) != nullptr;
        if (taken)
            slot = free;
    }

    auto& program = model->programs[slot];
    program.storeCurrentValues (*model);
    program.setName (name);
    switchToProgram (slot);
    writeCurrentProgramToFile();
    program.active = true;
    model->presetsChanged = true;
    recomputeFlags();
    return slot;
}

void StateEngine::writeCurrentProgramToFile()
{
    const juce::ScopedLock sl (lock);
    const juce::ScopedLock fl (UserPresetFile::getFileLock());

    const int current = model->currentProgram;
    auto& program = model->programs[current];
    if (! program.active)
    {
        program.active = true;
        model->presetsChanged = true;
    }
    if (! userPresetFile.getFolder().createIfMissing())
        return;
    sync();

    const int number = presetNumberForProgram (*model, current);
    auto fillPreset = [&] (juce::XmlElement& preset)
    {
        preset.setAttribute ("_No_", number);
        preset.setAttribute ("_Name_", program.getName());
        writeRecordValues (preset, program, true);
    };

    std::unique_ptr<juce::XmlElement> document;
    switch (userPresetFile.read (document))
    {
    case UserPresetFile::Content::parsed:
    {
        auto* presets = XmlLookup::findChild (*document, "presets");
        if (presets == nullptr)
            presets = document->createNewChildElement ("presets");
        if (auto* preset = UserPresetFile::findEntry (*presets, number))
        {
            if (XmlLookup::getBool (*preset, "_Deleted_"))
                preset->setAttribute ("_Deleted_", 0);
            fillPreset (*preset);
        }
        else
        {
            fillPreset (*presets->createNewChildElement ("preset"));
        }
        userPresetFile.write (*document);
        break;
    }
    case UserPresetFile::Content::missing:
    {
        juce::XmlElement root (UserPresetFile::rootTag);
        fillPreset (*root.createNewChildElement ("presets")->createNewChildElement ("preset"));
        userPresetFile.write (root);
        break;
    }
    case UserPresetFile::Content::unreadable:
        break; // never written over: it may hold presets a later version or the user wrote
    }
}

void StateEngine::overwriteCurrentUserPreset()
{
    const juce::ScopedLock sl (lock);
    writeCurrentProgramToFile();
    programModified = false;
}

void StateEngine::deleteCurrentUserPreset()
{
    const juce::ScopedLock sl (lock);
    const int current = model->currentProgram;
    if (! isUserSlot (current))
        return;

    {
        const juce::ScopedLock fl (UserPresetFile::getFileLock());
        std::unique_ptr<juce::XmlElement> document;
        if (userPresetFile.read (document) == UserPresetFile::Content::parsed)
            if (auto* presets = XmlLookup::findChild (*document, "presets"))
                if (auto* preset = UserPresetFile::findEntry (*presets, presetNumberForProgram (*model, current)))
                {
                    preset->setAttribute ("_Deleted_", 1);
                    userPresetFile.write (*document);
                }
    }

    resetCurrentProgram();
    const int previous = forgetProgram (current);
    if (model->programs.isValidIndex (previous))
        switchToProgram (previous);
    recomputeFlags();
    historyChanged = true;
}

void StateEngine::reloadUserSlot (int current)
{
    const juce::ScopedLock fl (UserPresetFile::getFileLock());
    auto& program = model->programs[current];
    if (program.getName() != model->storedPrograms[current].getName())
        model->presetsChanged = true;
    program = model->storedPrograms[current];
    program.applyTo (*model);
    program.dirty = false;
    program.active = false;

    std::unique_ptr<juce::XmlElement> document;
    if (userPresetFile.read (document) != UserPresetFile::Content::parsed ||
        ! document->getTagName().equalsIgnoreCase (UserPresetFile::rootTag))
        return;
    auto* presets = XmlLookup::findChild (*document, "presets");
    if (presets == nullptr)
        return;
    if (const auto* preset = UserPresetFile::findPreset (*presets, presetNumberForProgram (*model, current)))
    {
        readUserPreset (*preset, program);
        program.applyTo (*model);
    }
}

//==============================================================================
void StateEngine::selectState (bool b)
{
    const juce::ScopedLock sl (lock);
    recordEntry (capture (UndoEntry::abSwitch, 0));
    sync();
    (b ? model->stateB : model->stateA).applyTo (*model);
    model->isB = b;
    recomputeProgramModified();
    historyChanged = true;
}

void StateEngine::copyState (bool fromB)
{
    const juce::ScopedLock sl (lock);
    recordEntry (capture (fromB ? UndoEntry::copyBToA : UndoEntry::copyAToB, 0));
    sync();
    auto& source = fromB ? model->stateB : model->stateA;
    auto& target = fromB ? model->stateA : model->stateB;
    target = source;
    const bool targetActive = fromB ? ! model->isB : model->isB.load();
    if (targetActive)
        target.applyTo (*model);
    model->linked = false;
    statesEqual = true;
    historyChanged = true;
}

} // namespace brevalon
