#include "StateEngineFixture.h"
#include "state/XmlLookup.h"

#include <cmath>
#include <random>

using namespace brevalon;

namespace
{
juce::String text (const juce::XmlElement& element)
{
    return element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}
} // namespace

// The host chunk document: what is written, and how any document, however damaged, is read.
class StateDocuments : public StateEngineFixture
{
};

// The program list: the factory and user programs, selecting, renaming and resetting them.
class Programs : public StateEngineFixture
{
};

// The undo history: which changes are recorded, how they merge, and what undo and redo restore.
class UndoAndRedo : public StateEngineFixture
{
};

TEST_F (Programs, StartUpHoldsTheFactoryProgramsAndDefaultPreset)
{
    const char* names[] = { "Default", "Light",   "Intermediate", "Steep and reduced", "Hard",
                            "USER001", "USER002", "USER003",      "USER004",           "USER005" };
    for (int p = 0; p < 10; ++p)
    {
        EXPECT_EQ (engine->getProgramNameForDisplay (p), names[p]);
        EXPECT_EQ (engine->isAvailable (p), p < 5) << p;
        EXPECT_FALSE (model().programs[p].dirty);
    }
    EXPECT_EQ (param (0).getValue(), 21000.0);
    EXPECT_EQ (param (1).getValue(), 75.0);
    EXPECT_EQ (param (2).getValue(), 100.0);
    EXPECT_FALSE (param (3).getBoolValue());
    // "Steep and reduced": 21000 Hz, slope 100 %, mix 60 %.
    EXPECT_FLOAT_EQ (model().programs.stored (3).getValue (2), 0.6f);
    EXPECT_FLOAT_EQ (model().programs.stored (1).getValue (0), param (0).plainToNormalised (23000.0));
}

TEST_F (StateDocuments, DefaultStateDocument)
{
    const auto document = engine->createStateDocument();
    EXPECT_EQ (document->getTagName(), "Brevalon");
    EXPECT_EQ (document->getStringAttribute ("freqParam"), "21000.0");
    EXPECT_EQ (document->getStringAttribute ("slopeParam"), "75.0");
    EXPECT_EQ (document->getStringAttribute ("mixParam"), "100.0");
    EXPECT_EQ (document->getStringAttribute ("bypassParam"), "Off");

    ASSERT_EQ (document->getNumChildElements(), 5);
    const char* order[] = { "logical", "presets", "A", "B", "undo" };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (document->getChildElement (i)->getTagName(), order[i]);
    EXPECT_NEAR (document->getChildElement (0)->getDoubleAttribute ("freqParam"), 21000.0, 1e-3);

    EXPECT_EQ (text (*document->getChildByName ("presets")), "<presets active=\"1\"/>");
    EXPECT_EQ (text (*document->getChildByName ("A")), "<A _Active_=\"1\"/>");
    EXPECT_EQ (text (*document->getChildByName ("B")), "<B _Active_=\"0\" _Linked_=\"1\"/>");
    EXPECT_EQ (text (*document->getChildByName ("undo")), "<undo/>");
}

TEST_F (StateDocuments, RenamedProgramsAreWrittenWithValuesUnlessCurrent)
{
    engine->selectProgram (2);
    engine->renameProgram (2, "Mine");
    engine->renameProgram (4, "Other");
    const auto document = engine->createStateDocument();
    const auto* presets = document->getChildByName ("presets");
    EXPECT_EQ (presets->getIntAttribute ("active"), 3);
    ASSERT_EQ (presets->getNumChildElements(), 2);
    EXPECT_EQ (text (*presets->getChildElement (0)), "<preset _No_=\"3\" _Name_=\"Mine\"/>");
    const auto* other = presets->getChildElement (1);
    EXPECT_EQ (other->getIntAttribute ("_No_"), 5);
    EXPECT_EQ (other->getStringAttribute ("freqParam"), "20000.0");
    EXPECT_NE (other->getChildByName ("logical"), nullptr);
}

TEST_F (StateDocuments, ReadingSelectsTheActiveProgramAndAcceptsAnyCaseOfTheRoot)
{
    const auto document = juce::parseXML ("<bREVALON freqParam=\"22000.0\"><presets active=\"1002\"/><undo/></bREVALON>");
    engine->restoreFromDocument (document.get());
    EXPECT_EQ (engine->getCurrentProgram(), 7) << "user slot 3, whether or not it holds a preset";
    EXPECT_EQ (param (0).getValue(), 22000.0);
    EXPECT_EQ (param (1).getValue(), 100.0) << "missing attributes take the defaults";
    EXPECT_TRUE (model().programs.wasSelected());

    // A number that names no program keeps the current one (program 2 here).
    for (const auto& [presets, program] : { std::pair{ "<presets active=\"5\"/>", 4 },
                                            { "<presets active=\"1004\"/>", 9 },
                                            { "<presets/>", 0 },
                                            { "<presets active=\"0\"/>", 2 },
                                            { "<presets active=\"-7\"/>", 2 },
                                            { "<presets active=\"1005\"/>", 2 },
                                            { "<presets active=\"999999\"/>", 2 },
                                            { "<presets active=\"99999999999\"/>", 2 } })
    {
        engine->selectProgram (2);
        engine->restoreFromDocument (juce::parseXML (juce::String ("<Brevalon>") + presets + "</Brevalon>").get());
        EXPECT_EQ (engine->getCurrentProgram(), program) << presets;
    }
}

TEST_F (StateDocuments, ForeignRootResetsToStoredProgramsAndKeepsHistory)
{
    engine->selectProgram (3);
    engine->setValueWithUndo (1, 0.1f);
    engine->renameProgram (3, "Changed");
    const int entries = engine->getHistory().getNumEntries();

    for (const char* xml : { "<Other freqParam=\"23000\"/>", "" })
    {
        const auto document = juce::parseXML (xml);
        engine->restoreFromDocument (document.get());
        EXPECT_EQ (engine->getCurrentProgram(), 0);
        EXPECT_EQ (param (0).getValue(), 21000.0);
        EXPECT_EQ (param (1).getValue(), 75.0);
        EXPECT_EQ (engine->getProgramNameForDisplay (3), "Steep and reduced");
        EXPECT_TRUE (engine->isLinked());
        EXPECT_EQ (engine->getHistory().getNumEntries(), entries);
    }
}

TEST_F (Programs, ProgramNavigation)
{
    engine->selectProgram (4);
    const int entries = engine->getHistory().getNumEntries();
    EXPECT_EQ (engine->nextAvailable(), -1);
    EXPECT_FALSE (engine->nextProgram());
    EXPECT_EQ (engine->getCurrentProgram(), 4);
    EXPECT_EQ (engine->getHistory().getNumEntries(), entries) << "a step past the end records nothing";

    model().programs[5].active = true;
    model().programs[7].active = true;
    EXPECT_TRUE (engine->nextProgram());
    EXPECT_EQ (engine->getCurrentProgram(), 5);
    EXPECT_TRUE (engine->nextProgram());
    EXPECT_EQ (engine->getCurrentProgram(), 7);
    EXPECT_TRUE (engine->previousProgram());
    EXPECT_EQ (engine->getCurrentProgram(), 5);

    engine->selectProgram (0);
    EXPECT_FALSE (engine->previousProgram());
    EXPECT_EQ (engine->previousAvailable(), -1);
}

TEST_F (Programs, EditsStayWithTheirProgram)
{
    engine->selectProgram (1);
    engine->setValueWithUndo (2, 0.25f);
    engine->selectProgram (2);
    EXPECT_FLOAT_EQ (value (2), 1.0f);
    EXPECT_FALSE (engine->isProgramModified());
    engine->selectProgram (1);
    EXPECT_FLOAT_EQ (value (2), 0.25f);
    EXPECT_TRUE (engine->isProgramModified());
    EXPECT_TRUE (model().programs[1].dirty);
}

TEST_F (Programs, RenamingRules)
{
    engine->renameProgram (0, "Host name");
    EXPECT_EQ (engine->getCurrentProgramName(), "Default") << "program 0 is guarded until a program is selected";
    EXPECT_FALSE (engine->canUndo());

    engine->renameProgram (2, "Two");
    EXPECT_EQ (engine->getProgramNameForDisplay (2), "Two");
    EXPECT_FALSE (engine->canUndo()) << "renaming another program records nothing";

    engine->selectProgram (0);
    const int entries = engine->getHistory().getNumEntries();
    engine->renameProgram (0, "Default");
    EXPECT_EQ (engine->getHistory().getNumEntries(), entries) << "renaming to the present name leaves no entry";
    engine->renameProgram (0, "Zero");
    EXPECT_EQ (engine->getCurrentProgramName(), "Zero");
    EXPECT_TRUE (engine->isProgramModified());
    EXPECT_EQ (engine->getUndoDescription(), "Restore the preset name back to \"Default\"");
    engine->undo();
    EXPECT_EQ (engine->getCurrentProgramName(), "Default");

    engine->renameProgram (3, "");
    EXPECT_EQ (engine->getProgramNameForDisplay (3), "N/A");
    EXPECT_TRUE (engine->programNameExists ("light"));
    EXPECT_TRUE (engine->programNameExists ("user003"));
    EXPECT_FALSE (engine->programNameExists ("lite"));
}

TEST_F (Programs, ResettingAnEditedFactoryProgram)
{
    engine->selectProgram (1);
    engine->setValueWithUndo (0, 0.9f);
    engine->renameProgram (1, "Edited");
    engine->selectProgram (2);
    engine->selectProgram (1);
    engine->resetCurrentProgram();
    EXPECT_EQ (engine->getCurrentProgramName(), "Light");
    EXPECT_EQ (param (0).getValue(), 23000.0);
    EXPECT_FALSE (model().programs[1].dirty);
    EXPECT_FALSE (engine->isProgramModified());
    EXPECT_EQ (engine->getUndoDescription(), "Restore \"Edited\" preset values");

    const auto document = engine->createStateDocument();
    for (auto* preset : document->getChildByName ("presets")->getChildIterator())
        EXPECT_NE (preset->getIntAttribute ("_No_"), 2) << "a reset program is no longer written";
}

//==============================================================================
TEST_F (UndoAndRedo, HistoryKeepsTheNewest255Edits)
{
    for (int i = 0; i < 300; ++i)
    {
        engine->setValueWithUndo (i % 2, (float)(i % 100) / 100.0f);
        now += 2000;
    }
    EXPECT_EQ (engine->getHistory().getNumUndoable(), 255);
    int undone = 0;
    while (engine->canUndo())
    {
        engine->undo();
        ++undone;
    }
    EXPECT_EQ (undone, 255);
    // The oldest surviving entry is edit 45, holding the value before it: edit 43's value.
    EXPECT_FLOAT_EQ (value (1), 0.43f);
}

TEST_F (UndoAndRedo, ChangesWithinASecondCoalesce)
{
    const float before = value (2);
    engine->setValueWithUndo (2, 0.5f);
    now += 500;
    engine->setValueWithUndo (2, 0.4f);
    EXPECT_EQ (engine->getHistory().getNumUndoable(), 1);
    now += 1500;
    engine->setValueWithUndo (2, 0.3f);
    EXPECT_EQ (engine->getHistory().getNumUndoable(), 2);

    engine->undo();
    EXPECT_FLOAT_EQ (value (2), 0.4f);
    engine->undo();
    EXPECT_FLOAT_EQ (value (2), before);

    // Another parameter in between starts a new entry.
    engine->setValueWithUndo (2, 0.2f);
    engine->setValueWithUndo (1, 0.2f);
    engine->setValueWithUndo (2, 0.1f);
    EXPECT_EQ (engine->getHistory().getNumUndoable(), 3);
}

TEST_F (UndoAndRedo, GesturesRecordOnceAndVanishWhenNothingChanged)
{
    engine->beginGesture (0);
    for (float v : { 0.3f, 0.5f, 0.2186f })
    {
        now += 3000;
        engine->setValueWithUndo (0, v);
    }
    engine->setValueWithUndo (0, param (0).plainToNormalised (21000.0));
    engine->endGesture (0);
    EXPECT_FALSE (engine->canUndo()) << "a drag back to its start leaves no entry";

    engine->beginGesture (1);
    now += 3000;
    engine->setValueWithUndo (1, 0.1f);
    now += 3000;
    engine->setValueWithUndo (1, 0.2f);
    engine->endGesture (1);
    EXPECT_EQ (engine->getHistory().getNumUndoable(), 1);
    EXPECT_EQ (engine->getUndoDescription(), "Change \"Slope\" parameter value back to 75.0 %");
}

TEST_F (UndoAndRedo, DescriptionsFollowUndoAndRedo)
{
    engine->setValueWithUndo (0, param (0).plainToNormalised (24000.0));
    EXPECT_EQ (engine->getUndoDescription(), "Change \"Frequency\" parameter value back to 21000.0 Hz");
    EXPECT_EQ (engine->getRedoDescription(), "");
    engine->undo();
    EXPECT_EQ (engine->getRedoDescription(), "Change \"Frequency\" parameter value back to 24000.0 Hz");
    EXPECT_EQ (engine->getUndoDescription(), "");
    engine->redo();
    EXPECT_EQ (engine->getUndoDescription(), "Change \"Frequency\" parameter value back to 21000.0 Hz");

    now += 5000;
    engine->setValueWithUndo (3, 1.0f);
    EXPECT_EQ (engine->getUndoDescription(), "Change \"Bypass\" parameter value back to Off");
    engine->selectProgram (3);
    EXPECT_EQ (engine->getUndoDescription(), "Change the current preset back to \"Default\"");
    engine->selectB();
    EXPECT_EQ (engine->getUndoDescription(), "Restore A/B back to A");
    engine->copyBToA();
    EXPECT_EQ (engine->getUndoDescription(), "Revert B>A to initial state");
    engine->copyAToB();
    EXPECT_EQ (engine->getUndoDescription(), "Restore overwritten values by copy A>B operation");

    // A new edit after undo drops the redo entries.
    engine->undo();
    engine->undo();
    EXPECT_TRUE (engine->canRedo());
    now += 5000;
    engine->setValueWithUndo (1, 0.0f);
    EXPECT_FALSE (engine->canRedo());
}

TEST_F (UndoAndRedo, HistoryTravelsInTheDocumentWithItsCursor)
{
    engine->setValueWithUndo (0, 0.7f);
    now += 2000;
    engine->selectProgram (2);
    engine->renameProgram (2, "Two");
    engine->copyAToB();
    engine->undo();
    engine->undo();

    std::unique_ptr<StateEngine> restored;
    const auto document = roundTrip (*engine, restored);
    EXPECT_EQ (restored->getHistory().getNumUndoable(), 2);
    EXPECT_EQ (restored->getHistory().getNumRedoable(), 2);
    EXPECT_EQ (restored->getUndoDescription(), engine->getUndoDescription());
    EXPECT_EQ (restored->getRedoDescription(), engine->getRedoDescription());
    EXPECT_EQ (text (*restored->createStateDocument()->getChildByName ("undo")), text (*document->getChildByName ("undo")));

    // Saved after undoing everything: nothing to undo, everything to redo.
    while (engine->canUndo())
        engine->undo();
    roundTrip (*engine, restored);
    EXPECT_FALSE (restored->canUndo());
    EXPECT_EQ (restored->getHistory().getNumRedoable(), 4);
    while (restored->canRedo())
        restored->redo();
    EXPECT_EQ (restored->getCurrentProgramName(), "Two");
}

// Random edits, program changes, A/B operations and undos: every value, program, comparison
// state and the history come back exactly. (A program whose contents equal its stored copy may
// lose its dirty mark, so documents are compared from the second generation on.)
TEST_F (StateDocuments, RandomSessionsRoundTripExactly)
{
    std::mt19937 random (1234);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    for (int session = 0; session < 30; ++session)
    {
        SetUp();
        for (int step = 0; step < 60; ++step)
        {
            now += (uint32_t)(random() % 3000);
            switch (random() % 9)
            {
            case 0:
            case 1:
            case 2:
                engine->setValueWithUndo ((int)(random() % 4), unit (random));
                break;
            case 3:
                engine->selectProgram ((int)(random() % 5));
                break;
            case 4:
                engine->undo();
                break;
            case 5:
                engine->redo();
                break;
            case 6:
                random() % 2 ? engine->selectA() : engine->selectB();
                break;
            case 7:
                random() % 2 ? engine->copyAToB() : engine->copyBToA();
                break;
            case 8:
                engine->renameProgram ((int)(random() % 5), "P" + juce::String ((int)(random() % 50)));
                break;
            }
        }
        std::unique_ptr<StateEngine> restored, again;
        roundTrip (*engine, restored);
        const auto secondGeneration = roundTrip (*restored, again);
        EXPECT_EQ (text (*again->createStateDocument()), text (*secondGeneration)) << session;
        EXPECT_EQ (text (*restored->createStateDocument()->getChildByName ("undo")),
                   text (*engine->createStateDocument()->getChildByName ("undo")));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ (restored->getModel().getParameterAt (i)->getNormalised(), value (i)) << session;
        EXPECT_EQ (restored->getCurrentProgram(), engine->getCurrentProgram());
        EXPECT_EQ (restored->isBActive(), engine->isBActive());
        EXPECT_EQ (restored->isLinked(), engine->isLinked());
        for (int p = 0; p < 5; ++p)
        {
            EXPECT_EQ (restored->getModel().programs[p].getName(), model().programs[p].getName());
            EXPECT_EQ (restored->getModel().programs[p].getValues(), model().programs[p].getValues());
        }
        EXPECT_EQ (restored->getModel().states.a().getValues(), model().states.a().getValues());
        EXPECT_EQ (restored->getModel().states.b().getValues(), model().states.b().getValues());
        EXPECT_EQ (restored->getHistory().getNumUndoable(), engine->getHistory().getNumUndoable());
        EXPECT_EQ (restored->getHistory().getNumRedoable(), engine->getHistory().getNumRedoable());
    }
}

// Chunks from damaged project files: whatever the bytes, no crash, every value inside 0..1,
// the program and history positions inside their tables.
TEST_F (StateDocuments, DamagedDocumentsNeverBreakTheState)
{
    engine->setValueWithUndo (0, 0.7f);
    engine->selectProgram (2);
    engine->renameProgram (2, "Two");
    engine->copyAToB();
    engine->selectB();
    engine->setValueWithUndo (1, 0.3f);
    engine->undo();
    const juce::String valid = engine->createStateDocument()->toString();

    const juce::String hostile[] = {
        "<Brevalon freqParam=\"nan\" slopeParam=\"inf\" mixParam=\"-1e308\" bypassParam=\"1e999\"><logical freqParam=\"nan\"/></Brevalon>",
        "<Brevalon><presets active=\"-2147483648\"><preset _No_=\"2147483647\" _Name_=\"x\"/><preset _No_=\"-5\"/></presets></Brevalon>",
        "<Brevalon><undo><ui op=\"99\"/><ui op=\"1\" pi=\"77\" nv=\"nan\"/><ui op=\"2\" pi=\"-3\"/><ui op=\"5\" ab=\"0\" "
        "pv0=\"1e30\"/></undo></Brevalon>",
    };

    std::mt19937 random (99);
    for (int iteration = 0; iteration < 3000; ++iteration)
    {
        juce::String mutated = iteration < 3 ? hostile[iteration] : valid;
        const int mutations = 1 + (int)(random() % 4);
        for (int m = 0; m < mutations && iteration >= 3; ++m)
        {
            const int length = mutated.length();
            const int at = length > 0 ? (int)(random() % (uint32_t)length) : 0;
            switch (random() % 4)
            {
            case 0:
                mutated = mutated.substring (0, at);
                break; // truncation
            case 1:
                mutated =
                    mutated.replaceSection (at, 1, juce::String::charToString ((juce::juce_wchar) (mutated[at] ^ (1 << (random() % 7)))));
                break;
            case 2:
                mutated = mutated.replaceSection (at, 0, juce::String ((int)random()) + (random() % 2 ? "e300" : ""));
                break;
            case 3:
                mutated = mutated.replace ("freqParam", "mixParam").replace ("op=\"1\"", "op=\"4\"");
                break; // attribute swaps
            }
        }
        if (iteration % 500 == 0)
            SetUp();
        const auto document = juce::parseXML (mutated);
        engine->restoreFromDocument (document.get());

        for (int i = 0; i < 4; ++i)
        {
            const float v = value (i);
            ASSERT_TRUE (v >= 0.0f && v <= 1.0f) << i << " = " << v << " after " << mutated;
        }
        ASSERT_GE (engine->getCurrentProgram(), 0);
        ASSERT_LT (engine->getCurrentProgram(), 10);
        ASSERT_LE (engine->getHistory().getNumEntries(), 255);
        for (int step = 0; step < 3 && engine->canUndo(); ++step)
            engine->undo();
        for (int step = 0; step < 3 && engine->canRedo(); ++step)
            engine->redo();
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE (value (i) >= 0.0f && value (i) <= 1.0f);
        for (const auto* record : { &model().states.a(), &model().states.b() })
            for (float v : record->getValues())
                ASSERT_TRUE (v >= 0.0f && v <= 1.0f);
        (void)engine->createStateDocument();
    }
}

TEST_F (UndoAndRedo, HostValuesAreNotRecorded)
{
    engine->setValueFromHost (0, 0.9f);
    engine->setValueFromHost (9, 0.9f);
    EXPECT_FALSE (engine->canUndo());
    EXPECT_FLOAT_EQ (value (0), 0.9f);
    EXPECT_FALSE (engine->isStatesEqual());
    EXPECT_TRUE (engine->isProgramModified());
}

TEST_F (UndoAndRedo, ForgetProgramPurgesItsEntries)
{
    model().programs[6].active = true;
    engine->selectProgram (2);
    now += 2000;
    engine->setValueWithUndo (0, 0.1f);
    engine->selectProgram (6);
    now += 2000;
    engine->setValueWithUndo (1, 0.9f);
    engine->renameProgram (6, "Six");

    EXPECT_EQ (engine->forgetProgram (6), 2);
    // Left: the change to program 2 and the edit made in it.
    EXPECT_EQ (engine->getHistory().getNumEntries(), 2);
    EXPECT_FALSE (engine->canRedo());
    EXPECT_EQ (engine->getUndoDescription(), "Change \"Frequency\" parameter value back to 22000.0 Hz");
}
