#include "editor/QuillfenTemplateAudioProcessorEditor.h"

#include "overlays/DynamicHelpOverlay.h"
#include "lookandfeel/Drawing.h"
#include "state/GlobalParamList.h"
#include "state/ParamManager.h"

namespace brevalon
{

namespace
{
using lookandfeel::embeddedImage;
using Product = QuillfenTemplateAudioProcessor;

constexpr int backgroundY = 27;
} // namespace

QuillfenTemplateAudioProcessorEditor::QuillfenTemplateAudioProcessorEditor (QuillfenTemplateAudioProcessor& owner)
    : QuillfenEditor (owner),
      product (owner)
{
    baseWidth = windowWidth;
    baseHeight = windowHeight;
    setSize (windowWidth, windowHeight);

    // The images are not allowed to resize the button: the layout's 88 × 35 stays, with the
    // image drawn centred over the frame the background draws for it. Clicks on its transparent
    // pixels pass through.
    bypassButton.setWantsKeyboardFocus (false);
    bypassButton.setClickingTogglesState (true);
    bypassButton.addListener (this);
    const auto up = embeddedImage ("bypass_button_up_png");
    bypassButton.setImages (false, false, true, up, 1.0f, juce::Colours::transparentBlack, up, 1.0f, juce::Colours::transparentBlack,
                            embeddedImage ("bypass_button_down_png"), 1.0f, juce::Colours::transparentBlack, 0.5f);
    addAndMakeVisible (bypassButton);

    auto& parameters = stateEngine->getModel();
    for (auto [slider, index] : { std::pair{ &frequencySlider, (int)Product::freqParam }, std::pair{ &amountSlider, (int)Product::mixParam },
                                  std::pair{ &slopeSlider, (int)Product::slopeParam } })
    {
        slider->setLookAndFeel (&sliderLookAndFeel);
        slider->setSliderStyle (juce::Slider::LinearBarVertical);
        slider->setTextBoxStyle (juce::Slider::TextBoxBelow, true, 54, 17);
        slider->addListener (this);
        slider->attachToParameter (parameters, index);
        addAndMakeVisible (*slider);
        managedSliders.add (slider);
    }

    display.addListener (this);
    const auto* frequency = parameters.getParameterAt (Product::freqParam);
    const auto* slope = parameters.getParameterAt (Product::slopeParam);
    display.setDefaultValues (frequency->plainToNormalised (frequency->getDefault()), slope->plainToNormalised (slope->getDefault()));
    addAndMakeVisible (display);

    auto& settings = processor.getGlobalSettings();
    applySliderSettings (settings.getParameterAt (GlobalParamList::sliderMode)->getIntValue(),
                         settings.getParameterAt (GlobalParamList::mouseSensitivity)->getIntValue());

    resized();
    timerCallback();
}

QuillfenTemplateAudioProcessorEditor::~QuillfenTemplateAudioProcessorEditor()
{
    stopTimer();
    closeOverlay();
    for (auto* slider : { &frequencySlider, &amountSlider, &slopeSlider })
        slider->setLookAndFeel (nullptr);
}

//==============================================================================
void QuillfenTemplateAudioProcessorEditor::paint (juce::Graphics& g)
{
    QuillfenEditor::paint (g);
    const auto background = embeddedImage ("background_png");
    g.drawImageAt (background, 0, backgroundY);
    // The image ends one row above the window's bottom edge: its last row continues there, so
    // hosts never show a seam of uninitialised pixels.
    const int bottom = backgroundY + background.getHeight();
    g.drawImage (background, 0, bottom, getWidth(), getHeight() - bottom, 0, background.getHeight() - 1, background.getWidth(), 1);
}

void QuillfenTemplateAudioProcessorEditor::resized()
{
    QuillfenEditor::resized();
    frequencySlider.setBounds (125, 207, 62, 24);
    slopeSlider.setBounds (190, 207, 62, 24);
    amountSlider.setBounds (255, 207, 62, 24);
    bypassButton.setBounds (341, 190, 88, 35);
    display.setBounds (16, 38, 366, 142);
}

//==============================================================================
void QuillfenTemplateAudioProcessorEditor::timerCallback()
{
    // First, while the editor flags still tell which parameters changed: the steps below clear
    // them, and the framework's own pass at the end of the tick would find none.
    applyPendingParameterChanges();

    auto& parameters = stateEngine->getModel();
    auto changed = [&parameters] (int index) { return parameters.getParameterAt (index)->testAndClearChangeFlags (Parameter::editorFlag); };

    if (changed (Product::mixParam))
        updateSliderFrom (amountSlider, Product::mixParam);
    if (changed (Product::freqParam))
    {
        updateSliderFrom (frequencySlider, Product::freqParam);
        const auto* frequency = parameters.getParameterAt (Product::freqParam);
        display.setXValue (frequency->getNormalised());
        display.repaint();
        display.setMarkerFrequency (frequency->getValue());
    }
    if (changed (Product::slopeParam))
    {
        updateSliderFrom (slopeSlider, Product::slopeParam);
        display.setYValue (parameters.getParameterAt (Product::slopeParam)->getNormalised());
        display.repaint();
    }
    if (changed (Product::bypassParam))
        bypassButton.setToggleState (parameters.getParameterAt (Product::bypassParam)->getBoolValue(), juce::dontSendNotification);

    if (product.takeResponseChanged())
        updateResponseCurve();

    QuillfenEditor::timerCallback();
}

void QuillfenTemplateAudioProcessorEditor::updateSliderFrom (BetterSlider& slider, int parameterIndex)
{
    const double normalised = stateEngine->getModel().getParameterAt (parameterIndex)->getNormalised();
    slider.setValue (slider.snapValue (normalised, juce::Slider::notDragging), juce::dontSendNotification);
}

void QuillfenTemplateAudioProcessorEditor::updateResponseCurve()
{
    const double sampleRate = product.getCurrentSampleRate();
    curve.update (sampleRate, [this] (double hz) { return product.responseAt (hz); });
    display.setSampleRate (sampleRate);
    display.setCurve (curve.getFrequencies(), curve.getLevels(), curve.getCount());
}

void QuillfenTemplateAudioProcessorEditor::editorTick()
{
    // Each control's opacity is decided first and set once: setting a different value and then
    // the old one again would repaint on every tick.
    const bool filterActive = product.isFilterActive();
    const bool bypassed = bypassButton.getToggleState() || product.isHostBypassed();
    const float sliderAlpha = bypassed || ! filterActive ? dimmedAlpha : 1.0f;
    for (auto* slider : { &frequencySlider, &slopeSlider, &amountSlider })
        slider->setAlpha (sliderAlpha);
    bypassButton.setAlpha (filterActive ? 1.0f : dimmedAlpha);

    // An inactive filter shows its message on an undimmed display.
    display.showBypassed (filterActive && stateEngine->getModel().getParameterAt (Product::bypassParam)->getBoolValue());
}

//==============================================================================
void QuillfenTemplateAudioProcessorEditor::addHelpAreas (DynamicHelpOverlay& overlay)
{
    QuillfenEditor::addHelpAreas (overlay);
    overlay.addArea (display.getBounds().expanded (2).translated (-1, -1), "display", HelpBubble::centredBelowMiddle);
    auto sliderArea = [] (const juce::Component& slider) { return slider.getBounds().expanded (2, 18).translated (0, -9); };
    overlay.addArea (sliderArea (frequencySlider), "frequency");
    overlay.addArea (sliderArea (slopeSlider), "slope");
    overlay.addArea (sliderArea (amountSlider), "amount");
    overlay.addArea (bypassButton.getBounds(), "bypass");
}

void QuillfenTemplateAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    QuillfenEditor::buttonClicked (button);
    if (button == &bypassButton)
        writeParameter (Product::bypassParam, bypassButton.getToggleState() ? 1.0f : 0.0f);
}

//==============================================================================
int QuillfenTemplateAudioProcessorEditor::parameterOf (const juce::Slider* slider) const noexcept
{
    if (slider == &frequencySlider)
        return Product::freqParam;
    if (slider == &slopeSlider)
        return Product::slopeParam;
    if (slider == &amountSlider)
        return Product::mixParam;
    return -1;
}

void QuillfenTemplateAudioProcessorEditor::writeParameter (int index, float normalised)
{
    processor.setParameterFromEditor (index, normalised);
}

void QuillfenTemplateAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index >= 0)
        writeParameter (index, (float)slider->getValue());
}

void QuillfenTemplateAudioProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index < 0)
        return;
    processor.beginHostGesture (index);
    stateEngine->beginGesture (index);
}

void QuillfenTemplateAudioProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index < 0)
        return;
    stateEngine->endGesture (index);
    processor.endHostGesture (index);
}

void QuillfenTemplateAudioProcessorEditor::xySliderValueChanged (XYSlider* slider)
{
    writeParameter (Product::freqParam, slider->getXValue());
    writeParameter (Product::slopeParam, slider->getYValue());
}

void QuillfenTemplateAudioProcessorEditor::xySliderDragStarted (XYSlider*)
{
    processor.beginHostGesture (Product::freqParam);
    processor.beginHostGesture (Product::slopeParam);
    stateEngine->beginGesture (Product::freqParam);
    stateEngine->beginGesture (Product::slopeParam);
}

void QuillfenTemplateAudioProcessorEditor::xySliderDragEnded (XYSlider*)
{
    stateEngine->endGesture (Product::freqParam);
    stateEngine->endGesture (Product::slopeParam);
    processor.endHostGesture (Product::freqParam);
    processor.endHostGesture (Product::slopeParam);
}

} // namespace brevalon
