#include "state/StateCode.h"
#include "StateEngineFixture.h"
#include "state/Clipboard.h"

#include <random>

using namespace brevalon;

// The state code: the current values as text, copied to the clipboard and pasted from any text
// that contains it.
class CopyAndPaste : public StateEngineFixture
{
};

TEST_F (CopyAndPaste, DefaultCodeText)
{
    EXPECT_EQ (StateCode::make (*engine), "<Brevalon freqParam=\"21000.0\" slopeParam=\"75.0\" mixParam=\"100.0\" bypassParam=\"Off\"/>");
}

TEST_F (CopyAndPaste, CopyAndPasteBetweenInstancesIsOneUndoStep)
{
    engine->setValueWithUndo (0, param (0).plainToNormalised (23500.0));
    engine->setValueWithUndo (1, 0.4f);
    engine->setValueWithUndo (3, 1.0f);
    MemoryClipboard clipboard;
    StateCode::copy (*engine, clipboard);
    EXPECT_FALSE (clipboard.getText().containsAnyOf ("\r\n"));

    auto other = makeEngine (&now);
    other->selectProgram (1);
    const int entries = other->getHistory().getNumEntries();
    EXPECT_TRUE (StateCode::paste (*other, clipboard));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (other->getModel().getParameterAt (i)->getText(), param (i).getText()) << i;
    EXPECT_EQ (other->getHistory().getNumEntries(), entries + 1);
    EXPECT_EQ (other->getUndoDescription(), "Restore \"Light\" preset values");
    EXPECT_FALSE (other->isProgramModified());
    other->undo();
    EXPECT_EQ (other->getModel().getParameterAt (0)->getValue(), 23000.0);
}

TEST_F (CopyAndPaste, PasteFindsTheCodeInSurroundingText)
{
    const struct
    {
        const char* text;
        double frequency;
    } accepted[] = {
        { "Hi,\n\nhere is my setting:\n-----\n<Brevalon freqParam=\"22000.0\" slopeParam=\"40.0\" mixParam=\"90.0\" "
          "bypassParam=\"Off\"/>\n-----\nCheers",
          22000.0 },
        { "forum post text <brevalon freqParam=\"24000\"/> more text after />", 24000.0 },
        { "<Quillfen freqParam=\"20500.0\" slopeParam=\"10.0\"/>", 20500.0 },
        { "<BrevalonStudio freqParam=\"23100.0\"/>", 23100.0 },
    };
    for (const auto& c : accepted)
    {
        SetUp();
        EXPECT_TRUE (StateCode::apply (*engine, c.text)) << c.text;
        EXPECT_EQ (param (0).getValue(), c.frequency) << c.text;
    }
    // Missing parameters take their defaults: mix 100 %, slope 100 %.
    SetUp();
    engine->setValueWithUndo (2, 0.2f);
    EXPECT_TRUE (StateCode::apply (*engine, "<Brevalon freqParam=\"22000.0\" slopeParam=\"40.0\"/>"));
    EXPECT_EQ (param (2).getValue(), 100.0);

    const char* ignored[] = {
        "just some text",
        "<Brevalon freqParam=\"22000.0\"",
        "<Brevalon freqParam=\"22000.0\" <broken/>",
        "<Other freqParam=\"22000.0\"/>",
        "<BrevalonX freqParam=\"22000.0\"/>",
        "",
        "/>",
    };
    for (const char* text : ignored)
    {
        SetUp();
        EXPECT_FALSE (StateCode::apply (*engine, text)) << text;
        EXPECT_FALSE (engine->canUndo());
        EXPECT_EQ (param (0).getValue(), 21000.0);
    }
}

TEST_F (CopyAndPaste, RandomisedPasteKeepsParametersInRange)
{
    const juce::String code = StateCode::make (*engine);
    std::mt19937 random (77);
    for (int iteration = 0; iteration < 3000; ++iteration)
    {
        juce::String text = code;
        for (int m = 0; m < 1 + (int)(random() % 5); ++m)
        {
            const int at = (int)(random() % (uint32_t)juce::jmax (1, text.length()));
            switch (random() % 4)
            {
            case 0:
                text = text.replaceSection (at, 1, juce::String::charToString ((juce::juce_wchar) (32 + random() % 95)));
                break;
            case 1:
                text = text.substring (0, at) + text.substring (at + 1 + (int)(random() % 5));
                break;
            case 2:
                text = text.replaceSection (at, 0, random() % 2 ? "1e308" : "nan");
                break;
            case 3:
                text = juce::String::repeatedString ("x", (int)(random() % 20)) + text;
                break;
            }
        }
        StateCode::apply (*engine, text);
        for (int i = 0; i < 4; ++i)
        {
            const float v = value (i);
            ASSERT_TRUE (v >= 0.0f && v <= 1.0f) << text;
        }
    }
}
