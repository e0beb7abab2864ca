#include "state/StateEngine.h"

#include "params/Parameter.h"
#include "state/ParamManager.h"
#include "state/StateDocument.h"
#include "state/StateXml.h"

namespace brevalon
{

StateEngine::StateEngine (std::unique_ptr<ParamManager> modelToOwn, const juce::String& userPresetFileName, SharedFolder sharedFolder)
    : model (std::move (modelToOwn)),
      userPresets (std::move (sharedFolder), userPresetFileName),
      undoController (*model)
{
    userPresets.load (*model);
    for (int p = 0; p < model->programs.getCount(); ++p)
        model->programs[p].dirty = false;
    auto& current = model->programs.getCurrent();
    current.applyTo (*model);
    model->states.resetTo (current);
    recomputeFlags();
}

StateEngine::~StateEngine() = default;

void StateEngine::setMillisecondClock (std::function<uint32_t()> clock)
{
    const juce::ScopedLock sl (lock);
    undoController.setMillisecondClock (std::move (clock));
}

bool StateEngine::takePresetsChanged() noexcept
{
    return model->programs.takePresetsChanged();
}

bool StateEngine::takeProgramChanged() noexcept
{
    return model->programs.takeProgramChanged();
}

int StateEngine::getCurrentProgram() const noexcept
{
    return model->programs.getCurrentIndex();
}

bool StateEngine::isBActive() const noexcept
{
    return model->states.isBActive();
}

bool StateEngine::isLinked() const noexcept
{
    return model->states.isLinked();
}

void StateEngine::recomputeStatesEqual()
{
    statesEqual = model->currentEqualsInactiveState();
}

void StateEngine::recomputeProgramModified()
{
    programModified = model->currentProgramDiffersFromReference();
}

void StateEngine::recomputeFlags()
{
    recomputeStatesEqual();
    recomputeProgramModified();
}

void StateEngine::sync()
{
    const juce::ScopedLock sl (lock);
    model->sync();
}

//==============================================================================
std::unique_ptr<juce::XmlElement> StateEngine::createStateDocument()
{
    auto root = std::make_unique<juce::XmlElement> (StateXml::documentTag);
    writeState (*root);
    return root;
}

void StateEngine::restoreFromDocument (const juce::XmlElement* root)
{
    if (root != nullptr && root->getTagName().equalsIgnoreCase (StateXml::documentTag))
        readState (*root);
    else
        resetToStoredPrograms();
}

void StateEngine::writeState (juce::XmlElement& root)
{
    const juce::ScopedLock sl (lock);
    model->sync();
    StateDocument::write (*model, root);
    undoController.write (root);
}

void StateEngine::readState (const juce::XmlElement& root)
{
    const juce::ScopedLock sl (lock);
    StateDocument::read (*model, root);
    model->sync();
    model->programs.select (model->programs.getCurrentIndex());
    undoController.append (root);
    recomputeFlags();
    historyChanged = true;
}

void StateEngine::resetToStoredPrograms()
{
    const juce::ScopedLock sl (lock);
    model->programs.revertAll();
    model->states.setBActive (false);
    auto& first = model->programs.getCurrent();
    first.applyTo (*model);
    model->states.resetTo (first);
    recomputeFlags();
}

void StateEngine::writeParameterValues (juce::XmlElement& element, bool withLogical) const
{
    const juce::ScopedLock sl (lock);
    PresetRecord current (model->getCount());
    current.storeCurrentValues (*model);
    StateXml::writeValues (*model, element, current, withLogical);
}

void StateEngine::loadParameterValuesWithUndo (const juce::XmlElement& element)
{
    const juce::ScopedLock sl (lock);
    undoController.record (UndoEntry::presetValues);
    auto values = StateXml::defaults (*model);
    StateXml::readValues (*model, element, values);
    model->setAllParameters (values.getValues());
    recomputeStatesEqual();
    programModified = false;
    historyChanged = true;
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
    if (undoController.recordValueChange (parameterIndex))
        historyChanged = true;
    model->getParameterAt (parameterIndex)->setNormalised (normalised);
    statesEqual = false;
    programModified = true;
}

void StateEngine::beginGesture (int parameterIndex)
{
    const juce::ScopedLock sl (lock);
    if (undoController.beginGesture (parameterIndex))
        historyChanged = true;
}

void StateEngine::endGesture (int parameterIndex)
{
    const juce::ScopedLock sl (lock);
    if (undoController.endGesture (parameterIndex))
    {
        recomputeStatesEqual();
        historyChanged = true;
    }
}

//==============================================================================
bool StateEngine::canUndo() const
{
    const juce::ScopedLock sl (lock);
    return undoController.canUndo();
}

bool StateEngine::canRedo() const
{
    const juce::ScopedLock sl (lock);
    return undoController.canRedo();
}

void StateEngine::undo()
{
    stepHistory (true);
}

void StateEngine::redo()
{
    stepHistory (false);
}

void StateEngine::stepHistory (bool backwards)
{
    const juce::ScopedLock sl (lock);
    if (! undoController.step (backwards))
        return;
    recomputeFlags();
    historyChanged = true;
}

juce::String StateEngine::getUndoDescription() const
{
    const juce::ScopedLock sl (lock);
    return undoController.getUndoDescription();
}

juce::String StateEngine::getRedoDescription() const
{
    const juce::ScopedLock sl (lock);
    return undoController.getRedoDescription();
}

int StateEngine::forgetProgram (int program)
{
    const juce::ScopedLock sl (lock);
    historyChanged = true;
    return undoController.forgetProgram (program);
}

//==============================================================================
bool StateEngine::isAvailable (int index) const
{
    const juce::ScopedLock sl (lock);
    return model->programs.isAvailable (index);
}

void StateEngine::selectProgram (int index)
{
    const juce::ScopedLock sl (lock);
    undoController.record (UndoEntry::programChange);
    model->switchToProgram (index);
    recomputeFlags();
    historyChanged = true;
}

int StateEngine::previousAvailable() const
{
    const juce::ScopedLock sl (lock);
    return model->programs.previousAvailable();
}

int StateEngine::nextAvailable() const
{
    const juce::ScopedLock sl (lock);
    return model->programs.nextAvailable();
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
    const int target = down ? model->programs.previousAvailable() : model->programs.nextAvailable();
    undoController.record (UndoEntry::programChange);
    if (target >= 0)
        model->switchToProgram (target);
    else
        undoController.removeNewest();
    recomputeFlags();
    historyChanged = true;
    return target >= 0;
}

void StateEngine::renameProgram (int index, const juce::String& newName)
{
    const juce::ScopedLock sl (lock);
    if (! model->programs.isValidIndex (index))
        return;
    // Program 0 keeps its name until a program was selected.
    const bool guarded = index == 0 && ! model->programs.wasSelected();
    const bool isCurrent = index == model->programs.getCurrentIndex();
    if (isCurrent)
        undoController.record (UndoEntry::presetName);

    const bool changed = ! guarded && model->programs.rename (index, newName);
    if (changed)
        programModified = true;
    else if (isCurrent)
        undoController.removeNewest();
    if (isCurrent)
        historyChanged = true;
}

juce::String StateEngine::getCurrentProgramName() const
{
    const juce::ScopedLock sl (lock);
    return model->programs.getCurrent().getName();
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
    undoController.record (UndoEntry::presetValues);
    const int current = model->programs.getCurrentIndex();
    if (model->programs.isUserSlot (current))
    {
        userPresets.reload (*model, current);
    }
    else
    {
        model->programs.revert (current);
        model->programs[current].applyTo (*model);
    }
    recomputeStatesEqual();
    programModified = false;
    historyChanged = true;
}

//==============================================================================
bool StateEngine::isUserSlot (int program) const noexcept
{
    return model->programs.isUserSlot (program);
}

int StateEngine::firstFreeSlot() const
{
    return userPresets.firstFreeSlot (*model);
}

bool StateEngine::canSaveUserPresets() const
{
    return userPresets.isWritable();
}

int StateEngine::saveAsNewUserPreset (int slot, const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    const juce::ScopedLock fl (UserPresetStore::getFileLock());
    if (! userPresets.isWritable())
        return -1;

    // Another instance may have saved into this slot since the editor asked for it: then the
    // preset goes into the next free one instead of replacing that instance's preset.
    const int free = userPresets.firstFreeSlot (*model);
    if (free < 0)
        return -1;
    if (slot != free && (! isUserSlot (slot) || userPresets.holdsPreset (*model, slot)))
        slot = free;

    auto& program = model->programs[slot];
    program.storeCurrentValues (*model);
    program.setName (name);
    model->switchToProgram (slot);
    writeCurrentProgramToFile();
    program.active = true;
    model->programs.markPresetsChanged();
    recomputeFlags();
    return slot;
}

void StateEngine::writeCurrentProgramToFile()
{
    const juce::ScopedLock sl (lock);
    const int current = model->programs.getCurrentIndex();
    auto& program = model->programs[current];
    if (! program.active)
    {
        program.active = true;
        model->programs.markPresetsChanged();
    }
    if (! userPresets.createFolder())
        return;
    model->sync();
    userPresets.write (*model, current);
}

void StateEngine::overwriteCurrentUserPreset()
{
    const juce::ScopedLock sl (lock);
    const juce::ScopedLock fl (UserPresetStore::getFileLock());
    if (! userPresets.isWritable())
        return;
    writeCurrentProgramToFile();
    programModified = false;
}

void StateEngine::deleteCurrentUserPreset()
{
    const juce::ScopedLock sl (lock);
    const int current = model->programs.getCurrentIndex();
    if (! isUserSlot (current))
        return;

    userPresets.markDeleted (*model, current);
    resetCurrentProgram();
    model->switchToProgram (undoController.forgetProgram (current));
    recomputeFlags();
    historyChanged = true;
}

//==============================================================================
void StateEngine::selectState (bool b)
{
    const juce::ScopedLock sl (lock);
    undoController.record (UndoEntry::abSwitch);
    model->sync();
    model->states.get (b).applyTo (*model);
    model->states.setBActive (b);
    recomputeProgramModified();
    historyChanged = true;
}

void StateEngine::copyState (bool fromB)
{
    const juce::ScopedLock sl (lock);
    undoController.record (fromB ? UndoEntry::copyBToA : UndoEntry::copyAToB);
    model->sync();
    const auto& target = model->states.copy (fromB);
    const bool targetActive = fromB != model->states.isBActive();
    if (targetActive)
        target.applyTo (*model);
    statesEqual = true;
    historyChanged = true;
}

//==============================================================================
void StateEngine::initialisePrograms (ParamManager& model)
{
    auto& programs = model.programs;
    const int factoryCount = programs.getFactoryProgramCount();
    for (int p = 0; p < programs.getCount(); ++p)
    {
        juce::String name;
        if (p == 0)
            name = "Default";
        else if (p < factoryCount)
            name = juce::String::formatted ("PRST%03d", p);
        else
            name = juce::String::formatted ("USER%03d", p - factoryCount + 1);
        programs[p].setName (name);
        programs[p].storeCurrentValues (model);
    }
    programs.storeAsReference();
    model.states.resetTo (programs[0]);
}

void StateEngine::loadFactoryPresets (ParamManager& model, const juce::XmlElement& presetsRoot)
{
    StateDocument::readProgramList (model, presetsRoot, false);
    model.programs.storeAsReference();
    auto& current = model.programs.getCurrent();
    current.applyTo (model);
    model.states.resetTo (current);
}

} // namespace brevalon
