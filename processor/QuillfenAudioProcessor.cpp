#include "processor/QuillfenAudioProcessor.h"

#include "controls/SharedTypefaces.h"
#include "processor/HostParameter.h"
#include "processor/PluginIdentity.h"
#include "state/XmlGuard.h"

namespace brevalon
{

QuillfenAudioProcessor::QuillfenAudioProcessor (const BusesProperties& buses, std::unique_ptr<ParamManager> parameters,
                                                SharedFolder sharedFolder, std::unique_ptr<GlobalParamList> settings)
    : juce::AudioProcessor (buses),
      stateEngine (
          std::make_unique<StateEngine> (std::move (parameters), juce::String (PluginIdentity::name) + ".conf", std::move (sharedFolder))),
      globalSettings (std::move (settings))
{

    for (int i = 0; i < getNumHostParameters(); ++i)
        addParameter (new HostParameter (*this, i));
}

QuillfenAudioProcessor::~QuillfenAudioProcessor()
{
    // The shared typefaces first (the next editor creates them again), then the settings, then
    // the state engine with the parameters.
    SharedTypefaces::release();
    globalSettings.reset();
    stateEngine.reset();
}

const juce::String QuillfenAudioProcessor::getName() const
{
    return PluginIdentity::name;
}

void QuillfenAudioProcessor::prepareToPlay (double sampleRate, int)
{
    currentSampleRate = sampleRate;
    if (sampleRate != lastPreparedRate)
    {
        auto& parameters = getParamManager();
        for (int i = 0; i < parameters.getCount(); ++i)
            if ((parameters.getParameterAt (i)->getOptions() & Parameter::rateDependent) != 0)
                parameters.getParameterAt (i)->markChanged();
        lastPreparedRate = sampleRate;
    }

    if (wrapperType == wrapperType_LV2)
    {
        announcementsDue = 2;
        samplesUntilAnnouncement = 0;
    }
}

void QuillfenAudioProcessor::announceValuesWhenDue (int numSamples)
{
    if (announcementsDue == 0)
        return;
    if (samplesUntilAnnouncement <= 0)
    {
        for (auto* hostParameter : getParameters())
            hostParameter->sendValueChangedMessageToListeners (hostParameter->getValue());
        --announcementsDue;
        samplesUntilAnnouncement = juce::roundToInt (currentSampleRate / 2.0);
    }
    samplesUntilAnnouncement -= numSamples;
}

void QuillfenAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    announceValuesWhenDue (buffer.getNumSamples());
    if (buffer.hasBeenCleared())
        return;
    for (int channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels() && channel < buffer.getNumChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());
}

juce::AudioProcessorEditor* QuillfenAudioProcessor::createEditor()
{
    if (editorFactory)
        return editorFactory (*this);
    return new juce::GenericAudioProcessorEditor (*this);
}

void QuillfenAudioProcessor::setDesktopServices (std::unique_ptr<Clipboard> newClipboard, std::unique_ptr<Launcher> newLauncher)
{
    clipboard = std::move (newClipboard);
    launcher = std::move (newLauncher);
}

//==============================================================================
int QuillfenAudioProcessor::getNumHostParameters() const
{
    return getParamManager().getCount();
}

juce::String QuillfenAudioProcessor::getHostParameterName (int index) const
{
    return getParamManager().getParameterAt (index)->getName();
}

float QuillfenAudioProcessor::getHostParameter (int index) const
{
    return getParamManager().getParameterAt (index)->getNormalised();
}

juce::String QuillfenAudioProcessor::getHostParameterText (int index) const
{
    return getParamManager().getParameterAt (index)->getTextWithUnit();
}

int QuillfenAudioProcessor::getHostParameterNumSteps (int index) const
{
    return getParamManager().getParameterAt (index)->getNumSteps();
}

float QuillfenAudioProcessor::getHostParameterDefaultValue (int index) const
{
    const auto* parameter = getParamManager().getParameterAt (index);
    return parameter->plainToNormalised (parameter->getDefault());
}

void QuillfenAudioProcessor::setHostParameter (int index, float value)
{
    if (getParamManager().isValidIndex (index))
        stateEngine->setValueFromHost (index, value);
}

bool QuillfenAudioProcessor::isHostParameterAutomatable (int index) const
{
    return (getParamManager().getParameterAt (index)->getOptions() & Parameter::notAutomatable) == 0;
}

//==============================================================================
int QuillfenAudioProcessor::getNumPrograms()
{
    return getParamManager().programs.getCount();
}

int QuillfenAudioProcessor::getCurrentProgram()
{
    return stateEngine->getCurrentProgram();
}

void QuillfenAudioProcessor::setCurrentProgram (int index)
{
    if (! stateEngine->isAvailable (index))
        return;
    const auto before = currentValues();
    stateEngine->selectProgram (index);
    notifyHostOfChanges (before);
}

const juce::String QuillfenAudioProcessor::getProgramName (int index)
{
    return stateEngine->getProgramNameForDisplay (index);
}

void QuillfenAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    stateEngine->renameProgram (index, newName);
}

void QuillfenAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto document = stateEngine->createStateDocument();
    copyXmlToBinary (*document, destData);
    globalSettings->save();
}

std::unique_ptr<juce::XmlElement> QuillfenAudioProcessor::readChunkDocument (const void* data, int sizeInBytes)
{
    // The block copyXmlToBinary writes: a magic number, the text's length, the UTF-8 text. Read
    // as getXmlFromBinary reads it, but parsed through the guard: a project file is outside input.
    constexpr juce::uint32 xmlChunkMagic = 0x21324356;
    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != xmlChunkMagic)
        return {};
    const auto textLength =
        juce::jmin (sizeInBytes - 8, static_cast<int> (juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4))));
    if (textLength <= 0 || static_cast<size_t> (textLength) > brevalon::XmlGuard::maxDocumentBytes)
        return {};
    return brevalon::XmlGuard::parse (juce::String::fromUTF8 (static_cast<const char*> (data) + 8, textLength));
}

void QuillfenAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto before = currentValues();
    const auto document = readChunkDocument (data, sizeInBytes);
    stateEngine->restoreFromDocument (document.get());

    // The engine lock is released here, before the callback lock is taken.
    {
        const juce::ScopedLock lock (getCallbackLock());
        applyPendingChanges();
    }
    notifyHostOfChanges (before);
}

//==============================================================================
void QuillfenAudioProcessor::applyPendingChanges()
{
    auto& parameters = getParamManager();
    for (int i = 0; i < parameters.getCount(); ++i)
        if (parameters.getParameterAt (i)->testAndClearChangeFlags (Parameter::audioFlag))
            parameterChanged (i);
}

void QuillfenAudioProcessor::setParameterFromEditor (int index, float normalised)
{
    if (! getParamManager().isValidIndex (index))
        return;
    stateEngine->setValueWithUndo (index, normalised);
    if (auto* hostParameter = getParameters()[index])
        hostParameter->sendValueChangedMessageToListeners (getParamManager().getParameterAt (index)->getNormalised());
}

void QuillfenAudioProcessor::beginHostGesture (int index)
{
    if (auto* hostParameter = getParameters()[index])
        hostParameter->beginChangeGesture();
}

void QuillfenAudioProcessor::endHostGesture (int index)
{
    if (auto* hostParameter = getParameters()[index])
        hostParameter->endChangeGesture();
}

std::vector<float> QuillfenAudioProcessor::currentValues() const
{
    std::vector<float> values;
    for (int i = 0; i < getParamManager().getCount(); ++i)
        values.push_back (getParamManager().getParameterAt (i)->getNormalised());
    return values;
}

void QuillfenAudioProcessor::notifyHostOfChanges (const std::vector<float>& before)
{
    const auto& hostParameters = getParameters();
    for (int i = 0; i < (int)before.size() && i < hostParameters.size(); ++i)
    {
        const float now = getParamManager().getParameterAt (i)->getNormalised();
        if (! (now == before[(size_t)i]))
            hostParameters[i]->sendValueChangedMessageToListeners (now);
    }
}

} // namespace brevalon
