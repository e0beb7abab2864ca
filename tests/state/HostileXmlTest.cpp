#include "tests/support/HostileXml.h"
#include "StateEngineFixture.h"
#include "state/GlobalParamList.h"
#include "state/StateCode.h"
#include "state/StateEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace brevalon;

using brevalon::test::hostileDocuments;
using brevalon::test::makeDocument;
using brevalon::XmlGuard::Verdict;

namespace
{
const char* verdictName (Verdict verdict)
{
    switch (verdict)
    {
    case Verdict::accepted:
        return "accepted";
    case Verdict::tooLarge:
        return "too large";
    case Verdict::tooDeep:
        return "too deep";
    case Verdict::malformed:
        return "malformed";
    }
    return "?";
}

void expectValuesInRange (const ParamList& parameters)
{
    for (int i = 0; i < parameters.getCount(); ++i)
    {
        const float value = parameters.getParameterAt (i)->getNormalised();
        EXPECT_TRUE (std::isfinite (value) && value >= 0.0f && value <= 1.0f) << "parameter " << i << ": " << value;
    }
}
} // namespace

// The guard accepts what JUCE's parser reads the same way and nothing else; what it accepts
// parses.
TEST (XmlGuard, AcceptsOnlyWellFormedDocumentsWithinTheLimits)
{
    struct Case
    {
        const char* text;
        Verdict verdict;
    };
    const Case cases[] = {
        { "<a/>", Verdict::accepted },
        { "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- saved -->\n<a b=\"1\" c='x &amp; y &#65;&#x42;&lt;'>t&gt;<b/>\r\n</a>",
          Verdict::accepted },
        { "<a><![CDATA[<b><b><b>]]><!-- <c><c> --></a>", Verdict::accepted },
        // JUCE's parser loops forever on text after a processing instruction inside an element
        // (from pasted text the fuzzer found).
        { "<Quillfen><?>pp</Quillfen><?>pp</>", Verdict::malformed },
        { "<a><?pi <d> ?></a>", Verdict::malformed },
        // A processing instruction or comment ends only after its whole opening, as JUCE's parser
        // reads it: "<?>" and "<!-->" do not close themselves, so the root below is <b>, with a
        // processing instruction and text inside (from a "global.conf" the fuzzer found).
        { "<?><a/>?><b><?p?>text</b>", Verdict::malformed },
        { "<!--><a/>--><b><?p?>text</b>", Verdict::malformed },
        { "<?>?><a/>", Verdict::accepted },
        { "<a><!---->t<![CDATA[]]></a>", Verdict::accepted },
        { "<a></a>trailing text JUCE never reads <<<", Verdict::accepted },
        { "", Verdict::malformed },
        { "just text", Verdict::malformed },
        { "<a>", Verdict::malformed },
        { "<a><b></a></b>", Verdict::malformed },
        { "<a></b>", Verdict::malformed },
        { "< a/>", Verdict::malformed },
        { "<!DOCTYPE a [<!ENTITY e \"<b><b>\">]><a>&e;</a>", Verdict::malformed },
        { "<a>&e</a>", Verdict::malformed },
        { "<a b=\"&x\" /></a>;\"", Verdict::malformed },
        { "<a b=\"<c>\"/>", Verdict::malformed },
        { "<a b=1/>", Verdict::malformed },
        { "<a b/>", Verdict::malformed },
        { "<a x=<!-- -->\"</b>\"/>", Verdict::malformed },
        { "<a>&#1234567890123;</a>", Verdict::malformed },
        { "<a>&#x123456789;</a>", Verdict::malformed },
        { "<a><!-- unterminated </a>", Verdict::malformed },
        { "<a><![CDATA[ unterminated </a>", Verdict::malformed },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        const auto text = juce::String::fromUTF8 (c.text);
        EXPECT_STREQ (verdictName (brevalon::XmlGuard::check (text)), verdictName (c.verdict));
        EXPECT_EQ (brevalon::XmlGuard::parse (text) != nullptr, c.verdict == Verdict::accepted);
    }

    for (const auto& document : hostileDocuments())
    {
        SCOPED_TRACE (document.name);
        const auto text = makeDocument (document, "<Brevalon");
        EXPECT_STREQ (verdictName (brevalon::XmlGuard::check (text)), verdictName (document.verdict));
        EXPECT_EQ (brevalon::XmlGuard::parse (text) != nullptr, document.verdict == Verdict::accepted);
    }
}

class HostileFiles : public StateEngineFixture
{
protected:
    // Writes the document's text as a file of the shared folder and returns the text.
    juce::String place (const juce::File& file, const brevalon::test::HostileDocument& document, const juce::String& openRoot,
                        const juce::String& rootContent)
    {
        sharedFolder.createDirectory();
        const auto text = makeDocument (document, openRoot, rootContent);
        EXPECT_TRUE (file.replaceWithText (text));
        return text;
    }

    // Settings that read "global.conf" at start-up and again by the poll, once the file's time
    // has changed and the poll's interval has passed.
    struct PolledSettings
    {
        juce::int64 wallClock = 0;
        GlobalParamList settings;

        PolledSettings (const juce::File& folder, const juce::File& file)
            : settings (SharedFolder (folder), [this] { return wallClock; })
        {
            settings.attach (GlobalParamList::fileName);
            wallClock += 5000;
            file.setLastModificationTime (juce::Time::getCurrentTime() + juce::RelativeTime::seconds (10));
            settings.poll();
        }
    };
};

// "global.conf": read at start-up and by the poll, never written over by either.
TEST_F (HostileFiles, GlobalSettingsFile)
{
    for (const auto& document : hostileDocuments())
    {
        SCOPED_TRACE (document.name);
        const auto file = sharedFolder.getChildFile (GlobalParamList::fileName);
        const auto text = place (file, document, "<Quillfen", "<sliderMode>linear</sliderMode>");
        const PolledSettings polled (sharedFolder, file);
        const auto& settings = polled.settings;

        expectValuesInRange (settings);
        EXPECT_EQ (settings.getParameterAt (GlobalParamList::sliderMode)->getText(),
                   document.verdict == Verdict::accepted ? "linear" : "velocity");
        EXPECT_TRUE (file.loadFileAsString() == text) << "the file was changed";
    }
}

// The "global.conf" the fuzzer found: read at start-up and by the poll, it must be rejected (JUCE's
// parser would loop forever on it) and leave the defaults and the file as they were.
TEST_F (HostileFiles, GlobalSettingsFileWithASelfClosingLookingInstruction)
{
    juce::MemoryOutputStream decoded;
    ASSERT_TRUE (juce::Base64::convertFromBase64 (decoded, "PD8+CjxRdWlsOnVyTXJlOmVyTXJlc2V0cy8+LjwvUWkwLjAiIGVyOHMvPD8/Pgo8UXVpbGxmZW4+PHNsaWRlPHJNb2Rl"
                                             "wrazqv///////zw/2traOCI/Pi48UXVpbGwvPjz//////3NlPD9gLHhtPjwvUXVpbGxmZW4+PG90PFF1aWxsZmVxLz48"
                                             "YGBgLFF1aWBgaGVRPHJUP2hgYGBg"));
    const auto content = decoded.getMemoryBlock();
    sharedFolder.createDirectory();
    const auto file = sharedFolder.getChildFile (GlobalParamList::fileName);
    ASSERT_TRUE (file.replaceWithData (content.getData(), content.getSize()));

    const PolledSettings polled (sharedFolder, file);
    EXPECT_EQ (polled.settings.getParameterAt (GlobalParamList::sliderMode)->getText(), "velocity");
    juce::MemoryBlock after;
    ASSERT_TRUE (file.loadFileAsData (after));
    EXPECT_TRUE (after == content) << "the file was changed";
}

// "Brevalon.conf": the load at start-up, the free-slot search, save, delete and reload. A
// rejected file is never written over; a preset saved then lives in this instance only.
TEST_F (HostileFiles, UserPresetFile)
{
    const juce::String presets = "<presets><preset _No_=\"1000\" _Name_=\"Deep\" freqParam=\"22000.0\"/></presets>";
    for (const auto& document : hostileDocuments())
    {
        SCOPED_TRACE (document.name);
        const auto text = place (presetFile(), document, "<Quillfen", presets);
        auto instance = makeEngine (&now);
        expectValuesInRange (instance->getModel());

        if (document.verdict == Verdict::accepted)
        {
            EXPECT_EQ (instance->getProgramNameForDisplay (5), "Deep");
            EXPECT_EQ (instance->firstFreeSlot(), 6);
            continue;
        }

        EXPECT_FALSE (instance->isAvailable (5));
        EXPECT_FALSE (instance->canSaveUserPresets());
        EXPECT_EQ (instance->saveAsNewUserPreset (5, "Mine"), -1);
        EXPECT_FALSE (instance->isAvailable (5));
        instance->setValueWithUndo (1, 0.25f);
        instance->overwriteCurrentUserPreset();
        instance->resetCurrentProgram();
        instance->deleteCurrentUserPreset();
        expectValuesInRange (instance->getModel());
        EXPECT_TRUE (presetFile().loadFileAsString() == text) << "the file was changed";
    }
}

// Pasted codes (and the renderer's --state, which applies codes the same way): a code the guard
// rejects changes nothing.
TEST_F (HostileFiles, PastedStateCode)
{
    for (const auto& document : hostileDocuments())
    {
        SCOPED_TRACE (document.name);
        // The code finder cuts from "<Brevalon" to the last "/>", here the trailing element.
        const auto text = "Here is my setting: " + makeDocument (document, "<Brevalon freqParam=\"22000.0\"") + "<x/> enjoy";
        auto instance = makeEngine (&now);
        const bool applied = StateCode::apply (*instance, text);
        EXPECT_EQ (applied, document.verdict == Verdict::accepted);
        expectValuesInRange (instance->getModel());
        EXPECT_EQ (instance->getModel().getParameterAt (0)->getText(), applied ? "22000.0" : "21000.0");
    }
}

// Bytes that are not UTF-8: JUCE's character reading steps over the terminator after an invalid
// lead byte (0xFF skips eight bytes), so the scanner would read past the text. From the host chunk
// the fuzzer cut short inside an attribute value of 0xFF bytes, and variants where the skip lands
// on a closing quote or where a sequence is cut short at the end. Overlong sequences (U+064D in
// three bytes, from pasted text the fuzzer found) make JUCE's string copy overflow, and surrogates
// and code points beyond Unicode are no UTF-8 either.
TEST (XmlGuard, TextThatIsNotUtf8IsMalformed)
{
    const char* const texts[] = {
        "<Brevalon freqParam=\"22000.0\" slopeParam=\"50.0\" "
        "mixParam=\"80.0\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff",
        "<Brevalon freqParam=\"\xff"
        "1234567\"/>",
        "<Brevalon freqParam=\"22000.0\"/>\xe2\x82",
        "<Brevalon freqParam=\"2\x80"
        "2000.0\"/>",
        "<Brevalon freqParam=\"22000.0\" a=\"\xe0\x99\x8d\"/>",
        "<Brevalon freqParam=\"22000.0\" a=\"\xc0\xbc\xed\xa0\x80\xf4\x90\x80\x80\"/>",
    };
    for (const char* bytes : texts)
    {
        SCOPED_TRACE (bytes);
        const auto text = juce::String::fromUTF8 (bytes, static_cast<int> (std::strlen (bytes)));
        EXPECT_FALSE (XmlGuard::isValidText (text));
        EXPECT_EQ (verdictName (XmlGuard::check (text)), verdictName (Verdict::malformed));
        EXPECT_EQ (XmlGuard::parse (text), nullptr);
    }
    EXPECT_TRUE (XmlGuard::isValidText (juce::String::fromUTF8 ("<a b=\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb5\"/>")));
    EXPECT_EQ (verdictName (XmlGuard::check (juce::String::fromUTF8 ("<a b=\"\xc3\xa9\xe2\x82\xac\"/>"))), verdictName (Verdict::accepted));
}

// Clipboard text that is not UTF-8 is no code, even when a valid one stands before the bad bytes:
// an invalid lead byte, and the text the fuzzer found, whose overlong sequences made the code
// finder's copy of the text overflow.
TEST_F (HostileFiles, PastedTextThatIsNotUtf8ChangesNothing)
{
    const std::string texts[] = {
        "<Brevalon freqParam=\"22000.0\"/> \xff/>",
        "<Brevalon freqParam=\"22000.0\"/>lnalo<Quillfenalon\xe0\x99\x8dr<\xe0\x99\x8dr<Qar\xe0\x99\x8dron\xe0\x99\x8dr<\xe0\x99\x8dr<"
        "Qar\xe0\x99\x8dr<Qui<\xe0\x99\x8dr<Qar\xe0\x99\x8dron\xe0\x99\x8dr<\xe0\x99\x8dr<Qar\xe0\x99\x8dr<Quillfen llfen mi/>",
    };
    for (const auto& bytes : texts)
    {
        auto instance = makeEngine (&now);
        EXPECT_FALSE (StateCode::apply (*instance, juce::String::fromUTF8 (bytes.data(), static_cast<int> (bytes.size()))));
        EXPECT_EQ (instance->getModel().getParameterAt (0)->getText(), "21000.0");
        EXPECT_FALSE (instance->canUndo());
    }
}
