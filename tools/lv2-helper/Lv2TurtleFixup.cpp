#include "processor/HostParameter.h"
#include "processor/PluginIdentity.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <cstdio>

// Corrects the Turtle files JUCE's LV2 manifest helper writes into the bundle (run after it on
// every build):
// - the parameters' lv2:default is the value the plug-in starts with (the "Default" program),
//   not the parameter's own default, so a host that shows the declared default before the plug-in
//   has told it a value shows the value the plug-in runs at;
// - the maintainer has no e-mail address: JUCE writes an empty IRI, which names the file itself;
// - the editor's ui:noUserResize is a feature, not extension data, and opts:interface is
//   extension data, not a feature: both are dropped from the list they do not belong to;
// - the presets' program property is declared (a property with a label).
// Every correction is checked: when JUCE's output no longer has the expected form, the tool
// fails instead of leaving the bundle half corrected.
//
//   brevalon-lv2-turtle BUNDLE
namespace
{
using namespace brevalon;

bool failed = false;

void fail (const juce::String& message)
{
    std::fprintf (stderr, "brevalon-lv2-turtle: %s\n", message.toRawUTF8());
    failed = true;
}

// Replaces the first occurrence of `from` at or after `start` with `to`.
void replaceOnce (juce::String& text, const juce::String& from, const juce::String& to, const juce::String& what, int start = 0)
{
    const int at = text.indexOf (start, from);
    if (at < 0)
    {
        fail ("not found: " + what);
        return;
    }
    text = text.substring (0, at) + to + text.substring (at + from.length());
}

// A Turtle decimal or double literal that reads back as exactly this float.
juce::String turtleNumber (float value)
{
    char buffer[64];
    std::snprintf (buffer, sizeof (buffer), "%.9g", (double)value);
    juce::String text (buffer);
    if (! text.containsAnyOf (".eE"))
        text << ".0";
    return text;
}

void fixDsp (juce::String& text)
{
    replaceOnce (text, "\t\tfoaf:mbox <> ;\n", {}, "the maintainer's empty e-mail address");

    QuillfenTemplateAudioProcessor processor (SharedFolder(), QuillfenTemplateAudioProcessor::Settings::inMemory);
    const auto& parameters = processor.getParameters();
    for (int index = 0; index < parameters.size(); ++index)
    {
        const auto subject = "plug:" + HostParameter::idFor (index, juce::AudioProcessor::wrapperType_LV2) + "\n";
        const int block = text.indexOf (subject);
        if (block < 0)
        {
            fail ("no parameter " + subject.trim());
            continue;
        }
        const int start = text.indexOf (block, "\tlv2:default ");
        const int end = start < 0 ? -1 : text.indexOf (start, " ;\n");
        const int blockEnd = text.indexOf (block, " .\n");
        if (start < 0 || end < 0 || end > blockEnd)
        {
            fail ("no default for " + subject.trim());
            continue;
        }
        text = text.substring (0, start) + "\tlv2:default " + turtleNumber (parameters[index]->getValue()) + text.substring (end);
    }
}

void fixUi (juce::String& text)
{
    replaceOnce (text, "\t\tui:noUserResize ,\n", {}, "ui:noUserResize among the extension data");
    const int features = text.indexOf ("lv2:optionalFeature");
    if (features < 0)
        fail ("no optional features in the editor's description");
    else
        replaceOnce (text, "\t\topts:interface ,\n", {}, "opts:interface among the optional features", features);
}

void fixManifest (juce::String& text)
{
    const auto property = "<" + juce::String (PluginIdentity::lv2Uri) + ":Program>";
    if (! text.contains (property))
    {
        fail ("no program property in the presets");
        return;
    }
    text << "\n"
         << property << "\n"
         << "\ta <http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> ;\n"
            "\trdfs:label \"Program\" ;\n"
            "\trdfs:comment \"The index of the plug-in's program that a preset selects.\" .\n";
}

void fixFile (const juce::File& file, void (*fix) (juce::String&))
{
    if (! file.existsAsFile())
    {
        fail ("missing " + file.getFullPathName());
        return;
    }
    auto text = file.loadFileAsString();
    fix (text);
    if (! failed && ! file.replaceWithText (text, false, false, "\n"))
        fail ("cannot write " + file.getFullPathName());
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs ("usage: brevalon-lv2-turtle BUNDLE\n", stderr);
        return 2;
    }
    const juce::File bundle (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    fixFile (bundle.getChildFile ("dsp.ttl"), fixDsp);
    fixFile (bundle.getChildFile ("ui.ttl"), fixUi);
    fixFile (bundle.getChildFile ("manifest.ttl"), fixManifest);
    return failed ? 1 : 0;
}
