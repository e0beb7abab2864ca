#include "StateEngineFixture.h"

#include <thread>

using namespace brevalon;

namespace
{
std::unique_ptr<juce::XmlElement> readFile (const juce::File& file)
{
    return juce::XmlDocument::parse (file);
}
} // namespace

// The user presets: saving, overwriting, deleting and reloading them through the shared file.
class UserPresets : public StateEngineFixture
{
};

TEST_F (UserPresets, FirstSaveCreatesFolderAndFile)
{
    EXPECT_FALSE (sharedFolder.exists());
    EXPECT_EQ (engine->firstFreeSlot(), 5);
    engine->setValueWithUndo (1, 0.5f);
    EXPECT_EQ (engine->saveAsNewUserPreset (5, "Mine"), 5);
    EXPECT_EQ (engine->getCurrentProgram(), 5);
    EXPECT_TRUE (engine->isAvailable (5));

    const auto file = readFile (presetFile());
    ASSERT_NE (file, nullptr);
    EXPECT_EQ (file->getTagName(), "Quillfen");
    const auto* presets = file->getChildByName ("presets");
    ASSERT_EQ (presets->getNumChildElements(), 1);
    const auto* preset = presets->getChildElement (0);
    EXPECT_EQ (preset->getIntAttribute ("_No_"), 1000);
    EXPECT_EQ (preset->getStringAttribute ("_Name_"), "Mine");
    EXPECT_EQ (preset->getStringAttribute ("slopeParam"), "50.0");
    EXPECT_EQ (preset->getStringAttribute ("bypassParam"), "Off");
    EXPECT_NE (preset->getChildByName ("logical"), nullptr);
    EXPECT_FALSE (preset->hasAttribute ("_Deleted_"));
    EXPECT_TRUE (presetFile().loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    // A new instance finds it.
    auto other = makeEngine (&now);
    EXPECT_EQ (other->getProgramNameForDisplay (5), "Mine");
    EXPECT_TRUE (other->isAvailable (5));
    EXPECT_FLOAT_EQ (other->getModel().programs[5].getValue (1), 0.5f);
    EXPECT_EQ (other->getCurrentProgram(), 0);
}

TEST_F (UserPresets, DeletedNumbersAreReusedInTheSameElement)
{
    engine->saveAsNewUserPreset (engine->firstFreeSlot(), "One");
    EXPECT_EQ (engine->saveAsNewUserPreset (engine->firstFreeSlot(), "Two"), 6);
    engine->selectProgram (5);
    engine->deleteCurrentUserPreset();
    EXPECT_FALSE (engine->isAvailable (5));
    EXPECT_EQ (engine->getProgramNameForDisplay (5), "USER001");

    EXPECT_EQ (engine->firstFreeSlot(), 5);
    EXPECT_EQ (engine->saveAsNewUserPreset (5, "Three"), 5);
    const auto file = readFile (presetFile());
    const auto* presets = file->getChildByName ("presets");
    ASSERT_EQ (presets->getNumChildElements(), 2);
    EXPECT_EQ (presets->getChildElement (0)->getIntAttribute ("_No_"), 1000);
    EXPECT_EQ (presets->getChildElement (0)->getStringAttribute ("_Name_"), "Three");
    EXPECT_EQ (presets->getChildElement (0)->getStringAttribute ("_Deleted_"), "0");
    EXPECT_EQ (presets->getChildElement (1)->getIntAttribute ("_No_"), 1001);
}

TEST_F (UserPresets, TheFileDecidesWhichSlotsAreFree)
{
    auto other = makeEngine (&now);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (other->saveAsNewUserPreset (other->firstFreeSlot(), "P" + juce::String (i)), 5 + i);
    EXPECT_EQ (engine->firstFreeSlot(), -1) << "this instance's list still shows every slot free";
    EXPECT_FALSE (engine->isAvailable (5));
    EXPECT_EQ (engine->saveAsNewUserPreset (5, "Late"), -1);
    EXPECT_EQ (readFile (presetFile())->getChildByName ("presets")->getNumChildElements(), 5);
}

TEST_F (UserPresets, DeletingReturnsToThePreviousProgramAndPurgesItsHistory)
{
    engine->saveAsNewUserPreset (5, "User");
    engine->selectProgram (2);
    now += 2000;
    engine->selectProgram (5);
    now += 2000;
    engine->setValueWithUndo (0, 0.9f);
    engine->renameProgram (5, "Renamed");

    engine->deleteCurrentUserPreset();
    EXPECT_EQ (engine->getCurrentProgram(), 2);
    EXPECT_EQ (param (0).getValue(), 22000.0);
    for (int k = 0; k < engine->getHistory().getNumEntries(); ++k)
    {
        const auto& entry = engine->getHistory().entryAt (k);
        EXPECT_FALSE (entry.kind == UndoEntry::programChange && entry.program == 5);
        EXPECT_FALSE (entry.kind == UndoEntry::presetName);
        EXPECT_FALSE (entry.kind == UndoEntry::parameterValue);
    }
    EXPECT_TRUE (readFile (presetFile())->getChildByName ("presets")->getChildElement (0)->getBoolAttribute ("_Deleted_"));

    // Deleting while a factory program is current does nothing.
    const auto before = presetFile().loadFileAsString();
    engine->deleteCurrentUserPreset();
    EXPECT_EQ (presetFile().loadFileAsString(), before);
}

TEST_F (UserPresets, ResetReloadsTheSlotAsTheFileNowHasIt)
{
    engine->saveAsNewUserPreset (5, "Shared");
    auto other = makeEngine (&now);
    other->selectProgram (5);
    other->deleteCurrentUserPreset();

    engine->setValueWithUndo (1, 0.1f);
    engine->resetCurrentProgram();
    EXPECT_FALSE (engine->isAvailable (5));
    EXPECT_EQ (engine->getCurrentProgramName(), "USER001");
    EXPECT_FLOAT_EQ (value (1), 1.0f) << "the slot's default values";
}

TEST_F (UserPresets, OverwriteKeepsOtherPresetsAndTheOrder)
{
    engine->saveAsNewUserPreset (5, "First");
    auto other = makeEngine (&now);
    other->saveAsNewUserPreset (other->firstFreeSlot(), "Second");

    engine->setValueWithUndo (2, 0.3f);
    engine->renameProgram (5, "First, changed");
    engine->overwriteCurrentUserPreset();
    EXPECT_FALSE (engine->isProgramModified());

    const auto file = readFile (presetFile());
    const auto* presets = file->getChildByName ("presets");
    ASSERT_EQ (presets->getNumChildElements(), 2);
    EXPECT_EQ (presets->getChildElement (0)->getStringAttribute ("_Name_"), "First, changed");
    EXPECT_EQ (presets->getChildElement (0)->getStringAttribute ("mixParam"), "30.0");
    EXPECT_EQ (presets->getChildElement (1)->getStringAttribute ("_Name_"), "Second");
}

TEST_F (UserPresets, NamesWithUnicodeAndMarkupSurviveTheFile)
{
    const juce::String name = juce::CharPointer_UTF8 ("M\xc3\xa4rz <&> \"Quote\" 'x' \xe2\x88\x9e");
    engine->saveAsNewUserPreset (5, name);
    auto other = makeEngine (&now);
    EXPECT_EQ (other->getProgramNameForDisplay (5), name);
}

// A file that does not parse is never written over, and saving into it is refused instead of
// pretending: a preset that exists only in one instance would be lost with it.
TEST_F (UserPresets, AFileThatDoesNotParseIsNeverWrittenOver)
{
    sharedFolder.createDirectory();
    const juce::String damaged = "<Quillfen><presets><preset _No_=\"1000\" _Name_=\"Half";
    presetFile().replaceWithText (damaged);

    auto fresh = makeEngine (&now);
    EXPECT_FALSE (fresh->canSaveUserPresets());
    EXPECT_EQ (fresh->saveAsNewUserPreset (5, "Only here"), -1);
    EXPECT_FALSE (fresh->isAvailable (5));
    EXPECT_EQ (fresh->getCurrentProgram(), 0);
    fresh->deleteCurrentUserPreset();
    EXPECT_EQ (presetFile().loadFileAsString(), damaged);

    // A readable file under another root is still used for saving.
    presetFile().replaceWithText ("<Other><presets/></Other>");
    EXPECT_TRUE (fresh->canSaveUserPresets());
    EXPECT_EQ (fresh->saveAsNewUserPreset (5, "Kept"), 5);
    EXPECT_EQ (readFile (presetFile())->getChildByName ("presets")->getNumChildElements(), 1);

    // Damaged after the preset was saved: overwriting it leaves the file as it is.
    presetFile().replaceWithText (damaged);
    fresh->setValueWithUndo (1, 0.25f);
    fresh->overwriteCurrentUserPreset();
    EXPECT_EQ (presetFile().loadFileAsString(), damaged);
    EXPECT_TRUE (fresh->isProgramModified()) << "the change was not saved, so it still shows as one";
}

TEST_F (UserPresets, ConcurrentSavesFromTwoInstancesLoseNothing)
{
    auto first = makeEngine (&now);
    auto second = makeEngine (&now);
    auto saveAll = [] (StateEngine& target, const juce::String& prefix)
    {
        for (int i = 0; i < 2; ++i)
            target.saveAsNewUserPreset (target.firstFreeSlot(), prefix + juce::String (i));
    };
    std::thread a ([&] { saveAll (*first, "A"); });
    std::thread b ([&] { saveAll (*second, "B"); });
    a.join();
    b.join();

    auto reader = makeEngine (&now);
    juce::StringArray names;
    for (int p = 5; p < 10; ++p)
        if (reader->isAvailable (p))
            names.add (reader->getProgramNameForDisplay (p));
    names.sort (false);
    EXPECT_EQ (names.joinIntoString (","), "A0,A1,B0,B1");
    EXPECT_EQ (presetFile().getParentDirectory().findChildFiles (juce::File::findFiles, false, "*").size(), 1) << "no temporary files left";
}

// The file is shared: entries outside the user numbers (a missing "_No_" counts as none) never
// reach the factory programs, and saving leaves them as they are.
TEST_F (UserPresets, TheFileFillsOnlyTheUserSlots)
{
    sharedFolder.createDirectory();
    const juce::String foreign = "<preset _Name_=\"Mine\" freqParam=\"20000.0\" slopeParam=\"0.0\" mixParam=\"50.0\" bypassParam=\"On\"/>"
                                 "<preset _No_=\"2\" _Name_=\"Other\" mixParam=\"10.0\"/>"
                                 "<preset _No_=\"1005\" _Name_=\"Beyond\"/>";
    ASSERT_TRUE (presetFile().replaceWithText ("<Quillfen><presets>" + foreign +
                                               "<preset _No_=\"1003\" _Name_=\"Fourth\" mixParam=\"40.0\"/></presets></Quillfen>"));

    auto fresh = makeEngine (&now);
    for (int p = 0; p < 5; ++p)
        EXPECT_EQ (fresh->getProgramNameForDisplay (p), engine->getProgramNameForDisplay (p)) << p;
    EXPECT_EQ (fresh->getCurrentProgramName(), "Default");
    EXPECT_EQ (fresh->getModel().getParameterAt (2)->getText(), "100.0");
    EXPECT_EQ (fresh->getModel().getParameterAt (3)->getText(), "Off");
    EXPECT_EQ (fresh->getProgramNameForDisplay (8), "Fourth");
    EXPECT_TRUE (fresh->isAvailable (8));
    EXPECT_FALSE (fresh->isAvailable (9));

    EXPECT_EQ (fresh->saveAsNewUserPreset (fresh->firstFreeSlot(), "New"), 5);
    const auto file = readFile (presetFile());
    const auto* presets = file->getChildByName ("presets");
    ASSERT_EQ (presets->getNumChildElements(), 5);
    const auto singleLine = juce::XmlElement::TextFormat().singleLine().withoutHeader();
    juce::String kept;
    for (int i = 0; i < 3; ++i)
        kept << presets->getChildElement (i)->toString (singleLine);
    EXPECT_EQ (kept, foreign);
    EXPECT_EQ (presets->getChildElement (4)->getStringAttribute ("_Name_"), "New");
}

// When two entries carry the same number, the first is the one listed, overwritten, deleted and
// reloaded.
TEST_F (UserPresets, TheFirstEntryOfANumberIsTheOneShownAndChanged)
{
    sharedFolder.createDirectory();
    ASSERT_TRUE (presetFile().replaceWithText ("<Quillfen><presets>"
                                               "<preset _No_=\"1000\" _Name_=\"First\" mixParam=\"10.0\"/>"
                                               "<preset _No_=\"1000\" _Name_=\"Second\" mixParam=\"20.0\"/>"
                                               "</presets></Quillfen>"));
    auto fresh = makeEngine (&now);
    EXPECT_EQ (fresh->getProgramNameForDisplay (5), "First");

    fresh->selectProgram (5);
    EXPECT_EQ (fresh->getModel().getParameterAt (2)->getText(), "10.0");
    fresh->setValueWithUndo (2, 0.3f);
    fresh->resetCurrentProgram();
    EXPECT_EQ (fresh->getModel().getParameterAt (2)->getText(), "10.0") << "reloaded from the first entry";

    fresh->deleteCurrentUserPreset();
    EXPECT_FALSE (fresh->isAvailable (5));
    EXPECT_EQ (makeEngine (&now)->getProgramNameForDisplay (5), "USER001") << "the deleted first entry hides the second";
    EXPECT_EQ (fresh->firstFreeSlot(), 5);
}

// A file kept elsewhere and linked into the shared folder stays a link when presets are saved.
TEST_F (UserPresets, SavingWritesThroughASymbolicLink)
{
    const auto dotfiles = sharedFolder.getSiblingFile (sharedFolder.getFileName() + "-dotfiles");
    dotfiles.createDirectory();
    const auto target = dotfiles.getChildFile ("Brevalon.conf");
    ASSERT_TRUE (target.replaceWithText ("<Quillfen><presets/></Quillfen>"));
    sharedFolder.createDirectory();
    ASSERT_TRUE (target.createSymbolicLink (presetFile(), false));

    EXPECT_EQ (engine->saveAsNewUserPreset (engine->firstFreeSlot(), "Linked"), 5);
    EXPECT_TRUE (presetFile().isSymbolicLink());
    EXPECT_TRUE (target.loadFileAsString().contains ("_Name_=\"Linked\""));
    EXPECT_EQ (makeEngine (&now)->getProgramNameForDisplay (5), "Linked");
    dotfiles.deleteRecursively();
}
