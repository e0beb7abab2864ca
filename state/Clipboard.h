#pragma once

#include <juce_core/juce_core.h>

namespace brevalon
{

// Access to a clipboard for text, so that copy and paste can be tested without the system's.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void copyText (const juce::String& text) = 0;
    virtual juce::String getText() = 0;
};

// The operating system's clipboard.
class SystemClipboard final : public Clipboard
{
public:
    void copyText (const juce::String& text) override;
    juce::String getText() override;
};

// A clipboard of this process only.
class MemoryClipboard final : public Clipboard
{
public:
    void copyText (const juce::String& text) override { content = text; }
    juce::String getText() override { return content; }

private:
    juce::String content;
};

} // namespace brevalon
