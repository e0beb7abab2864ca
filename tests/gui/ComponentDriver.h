#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace brevalon::test
{

// Puts a component at its real size into a window of its own on the (virtual) desktop and
// drives it with mouse, wheel and key events through the window, as the system would: the
// framework finds the component under the pointer, forwards to mouse listeners and parents,
// counts clicks and tracks drags. Positions are in the component's coordinates.
class ComponentDriver
{
public:
    static constexpr float wheelNotch = 120.0f / 256.0f;

    explicit ComponentDriver (juce::Component& component, juce::Point<int> screenPosition = { 100, 100 });
    ~ComponentDriver();

    // Presses the left button, or the right one when `modifiers` holds it, with the keyboard
    // modifiers of `modifiers` held until release.
    void press (juce::Point<int> position, juce::ModifierKeys modifiers = {});
    void moveTo (juce::Point<int> position);
    void release();

    void click (juce::Point<int> position, juce::ModifierKeys modifiers = {});
    void doubleClick (juce::Point<int> position);
    // Press at `from`, one drag event per offset (relative to `from`), release.
    void drag (juce::Point<int> from, const std::vector<juce::Point<int>>& offsets, juce::ModifierKeys modifiers = {});

    void wheel (juce::Point<int> position, float deltaY, juce::ModifierKeys modifiers = {}, bool reversed = false);

    void pressKey (const juce::KeyPress& key);
    void typeText (const juce::String& text);
    // Runs the message loop until everything posted so far (say, by a text editor) is handled.
    static void deliverPendingMessages();
    // Runs the message loop, timers included, for about this long.
    static void runMessageLoopFor (int milliseconds);

    juce::Component& getWindow() noexcept { return window; }

private:
    juce::ComponentPeer& peer();
    void sendMouse (juce::Point<int> position);
    juce::int64 nextEventTime (int millisecondsLater = 10);

    juce::Component window;
    juce::Component::SafePointer<juce::Component> component;
    juce::ModifierKeys keyboardModifiers;
    juce::ModifierKeys buttons;
    juce::Point<int> lastPosition;
    juce::int64 eventTime;
};

} // namespace brevalon::test
