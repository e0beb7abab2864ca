#include "ComponentDriver.h"

// The framework's own step of its message loop (juce_events): a console test program has no
// modal loops to wait with.
namespace juce
{
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace brevalon::test
{

namespace
{
// Far enough apart that two clicks never count as a double-click.
constexpr int separateClickGap = 2000;
} // namespace

ComponentDriver::ComponentDriver (juce::Component& target, juce::Point<int> screenPosition)
    : component (&target),
      eventTime (juce::Time::currentTimeMillis())
{
    window.setBounds (juce::Rectangle<int> (target.getWidth(), target.getHeight()).withPosition (screenPosition));
    target.setTopLeftPosition (0, 0);
    window.addAndMakeVisible (target);
    window.addToDesktop (0);
    window.setVisible (true);
}

ComponentDriver::~ComponentDriver()
{
    juce::ModifierKeys::currentModifiers = {};
    if (component != nullptr)
        window.removeChildComponent (component.getComponent());
    window.removeFromDesktop();
}

juce::ComponentPeer& ComponentDriver::peer()
{
    auto* windowPeer = window.getPeer();
    jassert (windowPeer != nullptr);
    return *windowPeer;
}

juce::int64 ComponentDriver::nextEventTime (int millisecondsLater)
{
    eventTime += millisecondsLater;
    return eventTime;
}

void ComponentDriver::sendMouse (juce::Point<int> position)
{
    lastPosition = position;
    juce::ModifierKeys::currentModifiers = keyboardModifiers.withFlags (buttons.getRawFlags());
    peer().handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position.toFloat(),
                             keyboardModifiers.withFlags (buttons.getRawFlags()), juce::MouseInputSource::defaultPressure,
                             juce::MouseInputSource::defaultOrientation, nextEventTime());
}

void ComponentDriver::press (juce::Point<int> position, juce::ModifierKeys modifiers)
{
    keyboardModifiers = modifiers.withoutMouseButtons();
    buttons = juce::ModifierKeys (modifiers.isRightButtonDown() ? juce::ModifierKeys::rightButtonModifier
                                                                : juce::ModifierKeys::leftButtonModifier);
    // The pointer arrives first, then the button goes down.
    const auto heldButtons = buttons;
    buttons = {};
    sendMouse (position);
    buttons = heldButtons;
    sendMouse (position);
}

void ComponentDriver::moveTo (juce::Point<int> position)
{
    sendMouse (position);
}

void ComponentDriver::release()
{
    buttons = {};
    sendMouse (lastPosition);
    keyboardModifiers = {};
    juce::ModifierKeys::currentModifiers = {};
}

void ComponentDriver::click (juce::Point<int> position, juce::ModifierKeys modifiers)
{
    nextEventTime (separateClickGap);
    press (position, modifiers);
    release();
}

void ComponentDriver::doubleClick (juce::Point<int> position)
{
    nextEventTime (separateClickGap);
    press (position);
    release();
    press (position);
    release();
}

void ComponentDriver::drag (juce::Point<int> from, const std::vector<juce::Point<int>>& offsets, juce::ModifierKeys modifiers)
{
    nextEventTime (separateClickGap);
    press (from, modifiers);
    for (auto offset : offsets)
        moveTo (from + offset);
    release();
}

void ComponentDriver::wheel (juce::Point<int> position, float deltaY, juce::ModifierKeys modifiers, bool reversed)
{
    juce::MouseWheelDetails details;
    details.deltaX = 0.0f;
    details.deltaY = deltaY;
    details.isReversed = reversed;
    details.isSmooth = false;
    details.isInertial = false;
    keyboardModifiers = modifiers.withoutMouseButtons();
    sendMouse (position);
    juce::ModifierKeys::currentModifiers = keyboardModifiers;
    peer().handleMouseWheel (juce::MouseInputSource::InputSourceType::mouse, position.toFloat(), nextEventTime(), details);
    keyboardModifiers = {};
    juce::ModifierKeys::currentModifiers = {};
}

void ComponentDriver::pressKey (const juce::KeyPress& key)
{
    // The window passes the key to the component holding the keyboard focus, then its parents.
    peer().handleKeyPress (key);
    deliverPendingMessages();
}

void ComponentDriver::runMessageLoopFor (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;
    while (juce::Time::getMillisecondCounter() < end)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
}

void ComponentDriver::deliverPendingMessages()
{
    // Messages arrive in order: once this one is delivered, so is everything posted before it.
    bool delivered = false;
    juce::MessageManager::callAsync ([&delivered] { delivered = true; });
    while (! delivered)
        juce::dispatchNextMessageOnSystemQueue (false);
}

void ComponentDriver::typeText (const juce::String& text)
{
    for (auto character : text)
        pressKey (juce::KeyPress (0, juce::ModifierKeys(), character));
}

} // namespace brevalon::test
