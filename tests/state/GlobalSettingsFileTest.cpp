#include "state/GlobalParamList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace brevalon;

namespace
{

class GlobalSettingsFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-settings-" + juce::Uuid().toString());
    }
    void TearDown() override { root.deleteRecursively(); }

    juce::File sharedFolder() const { return root.getChildFile ("Quillfen"); }
    juce::File settingsFile() const { return sharedFolder().getChildFile ("global.conf"); }

    std::unique_ptr<GlobalParamList> makeList()
    {
        return std::make_unique<GlobalParamList> (SharedFolder (sharedFolder()), [this] { return now; });
    }

    static void set (GlobalParamList& list, int index, double plain)
    {
        auto* setting = list.getParameterAt (index);
        setting->setNormalised (setting->plainToNormalised (plain));
    }

    static juce::String mode (const GlobalParamList& list) { return list.getParameterAt (GlobalParamList::sliderMode)->getText(); }
    static int sensitivity (const GlobalParamList& list) { return list.getParameterAt (GlobalParamList::mouseSensitivity)->getIntValue(); }

    static bool takeEditorChange (GlobalParamList& list)
    {
        bool changed = false;
        for (int i = 0; i < list.getCount(); ++i)
            changed = list.getParameterAt (i)->testAndClearChangeFlags (Parameter::editorFlag) || changed;
        return changed;
    }

    juce::File root;
    juce::int64 now = 100000;
};

} // namespace

TEST_F (GlobalSettingsFileTest, AMissingFolderAndFileAreCreatedWithThePresentValues)
{
    auto list = makeList();
    list->attach (GlobalParamList::fileName);

    EXPECT_EQ (list->getFile(), settingsFile());
    ASSERT_TRUE (settingsFile().existsAsFile());
    const auto text = settingsFile().loadFileAsString();
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text;

    const auto document = juce::parseXML (text);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getTagName(), "Quillfen");
    ASSERT_EQ (document->getNumChildElements(), 2);
    EXPECT_EQ (document->getChildElement (0)->getTagName(), "sliderMode");
    EXPECT_EQ (document->getChildElement (0)->getAllSubText(), "velocity");
    EXPECT_EQ (document->getChildElement (1)->getTagName(), "mouseSensitivity");
    EXPECT_EQ (document->getChildElement (1)->getAllSubText(), "100");
}

// Attaching to an existing file reads it and never writes it.
TEST_F (GlobalSettingsFileTest, ReadingAnExistingFile)
{
    const struct
    {
        const char* name;
        const char* content;
        const char* mode;
        int sensitivity;
    } cases[] = {
        { "both settings, mode in capitals",
          "<?xml version=\"1.0\" "
          "encoding=\"UTF-8\"?>\n<Quillfen><sliderMode>LINEAR</sliderMode><mouseSensitivity>150</mouseSensitivity></Quillfen>",
          "linear", 150 },
        { "only the sensitivity", "<Quillfen><mouseSensitivity>150</mouseSensitivity></Quillfen>", "velocity", 150 },
        { "names in other cases", "<quillfen><SLIDERMODE>Linear</SLIDERMODE></quillfen>", "linear", 42 },
        { "texts the settings do not understand",
          "<Quillfen><sliderMode>fast</sliderMode><mouseSensitivity>many</mouseSensitivity></Quillfen>", "velocity", 42 },
        { "a number beyond the range", "<Quillfen><mouseSensitivity>500</mouseSensitivity></Quillfen>", "velocity", 200 },
        { "a mode by its number", "<Quillfen><sliderMode>1</sliderMode></Quillfen>", "linear", 42 },
        { "white space around the text", "<Quillfen><sliderMode>\n  linear\n</sliderMode></Quillfen>", "linear", 42 },
        { "the first of two elements", "<Quillfen><sliderMode>linear</sliderMode><sliderMode>velocity</sliderMode></Quillfen>", "linear",
          42 },
        { "another root", "<Brevalon><sliderMode>linear</sliderMode><mouseSensitivity>150</mouseSensitivity></Brevalon>", "velocity", 42 },
        { "not XML", "sliderMode=linear", "velocity", 42 },
        { "an empty file", "", "velocity", 42 },
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE (sharedFolder().createDirectory().wasOk());
        ASSERT_TRUE (settingsFile().replaceWithText (c.content, false, false, "\n"));

        auto list = makeList();
        set (*list, GlobalParamList::mouseSensitivity, 42.0);
        list->attach (GlobalParamList::fileName);

        EXPECT_EQ (mode (*list), c.mode) << c.name;
        EXPECT_EQ (sensitivity (*list), c.sensitivity) << c.name;
        EXPECT_EQ (settingsFile().loadFileAsString(), c.content) << c.name << ": the file stays untouched";
        root.deleteRecursively();
    }
}

TEST_F (GlobalSettingsFileTest, AnUnreadableFileIsReplacedByTheNextSave)
{
    ASSERT_TRUE (sharedFolder().createDirectory().wasOk());
    ASSERT_TRUE (settingsFile().replaceWithText ("<Quillfen><sliderMode>linear"));
    auto list = makeList();
    list->attach (GlobalParamList::fileName);
    set (*list, GlobalParamList::mouseSensitivity, 7.0);

    EXPECT_TRUE (list->save());
    auto other = makeList();
    other->attach (GlobalParamList::fileName);
    EXPECT_EQ (sensitivity (*other), 7);
}

// The file is shared with the maker's other products and versions: saving updates the known
// settings where they stand and keeps everything else.
TEST_F (GlobalSettingsFileTest, SavingKeepsWhatItDoesNotKnow)
{
    ASSERT_TRUE (sharedFolder().createDirectory().wasOk());
    ASSERT_TRUE (settingsFile().replaceWithText ("<Quillfen><otherTheme dark=\"1\">night</otherTheme>"
                                                 "<MOUSESENSITIVITY unit=\"%\">120</MOUSESENSITIVITY><futureSetting/></Quillfen>"));
    auto list = makeList();
    list->attach (GlobalParamList::fileName);
    EXPECT_EQ (sensitivity (*list), 120);
    set (*list, GlobalParamList::mouseSensitivity, 55.0);
    ASSERT_TRUE (list->save());

    const auto document = juce::parseXML (settingsFile());
    ASSERT_NE (document, nullptr);
    ASSERT_EQ (document->getNumChildElements(), 4);
    EXPECT_EQ (document->getChildElement (0)->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<otherTheme dark=\"1\">night</otherTheme>");
    EXPECT_EQ (document->getChildElement (1)->getTagName(), "MOUSESENSITIVITY");
    EXPECT_EQ (document->getChildElement (1)->getStringAttribute ("unit"), "%");
    EXPECT_EQ (document->getChildElement (1)->getAllSubText(), "55");
    EXPECT_EQ (document->getChildElement (2)->getTagName(), "futureSetting");
    EXPECT_EQ (document->getChildElement (3)->getTagName(), "sliderMode");
    EXPECT_EQ (document->getChildElement (3)->getAllSubText(), "velocity");
}

// A "global.conf" linked in from a dotfiles folder stays a link.
TEST_F (GlobalSettingsFileTest, SavingWritesThroughASymbolicLink)
{
    const auto target = root.getChildFile ("dotfiles").getChildFile ("global.conf");
    ASSERT_TRUE (target.getParentDirectory().createDirectory().wasOk());
    ASSERT_TRUE (target.replaceWithText ("<Quillfen><sliderMode>linear</sliderMode></Quillfen>"));
    ASSERT_TRUE (sharedFolder().createDirectory().wasOk());
    ASSERT_TRUE (target.createSymbolicLink (settingsFile(), false));

    auto list = makeList();
    list->attach (GlobalParamList::fileName);
    EXPECT_EQ (mode (*list), "linear");
    set (*list, GlobalParamList::mouseSensitivity, 33.0);
    ASSERT_TRUE (list->save());

    EXPECT_TRUE (settingsFile().isSymbolicLink());
    auto other = makeList();
    other->attach (GlobalParamList::fileName);
    EXPECT_EQ (sensitivity (*other), 33);
    EXPECT_TRUE (target.loadFileAsString().contains ("<mouseSensitivity>33</mouseSensitivity>"));
}

TEST_F (GlobalSettingsFileTest, SavedSettingsReachANewInstance)
{
    auto first = makeList();
    first->attach (GlobalParamList::fileName);
    set (*first, GlobalParamList::sliderMode, 1.0);
    set (*first, GlobalParamList::mouseSensitivity, 150.0);
    EXPECT_TRUE (first->saveAndRemember());

    auto second = makeList();
    second->attach (GlobalParamList::fileName);
    EXPECT_EQ (mode (*second), "linear");
    EXPECT_EQ (sensitivity (*second), 150);
}

// Both writes of the first instance land within one second (the file system's time then does
// not change), the second without changing the file's size.
TEST_F (GlobalSettingsFileTest, AnotherInstancesWritesArePickedUpByThePoll)
{
    auto writer = makeList();
    auto reader = makeList();
    writer->attach (GlobalParamList::fileName);
    reader->attach (GlobalParamList::fileName);
    takeEditorChange (*reader);

    reader->poll();
    EXPECT_FALSE (takeEditorChange (*reader)) << "nothing changed since the attach";

    set (*writer, GlobalParamList::sliderMode, 1.0);
    ASSERT_TRUE (writer->saveAndRemember());
    now += 999;
    reader->poll();
    EXPECT_EQ (mode (*reader), "velocity") << "polling twice within a second looks at the file once";

    now += 1;
    reader->poll();
    EXPECT_EQ (mode (*reader), "linear");
    EXPECT_TRUE (takeEditorChange (*reader)) << "the editor learns of the new value";

    set (*writer, GlobalParamList::mouseSensitivity, 150.0);
    ASSERT_TRUE (writer->saveAndRemember());
    now += 1000;
    reader->poll();
    EXPECT_EQ (sensitivity (*reader), 150);
}

TEST_F (GlobalSettingsFileTest, AnInstanceDoesNotLoadItsOwnWriteBack)
{
    auto list = makeList();
    list->attach (GlobalParamList::fileName);
    set (*list, GlobalParamList::sliderMode, 1.0);
    ASSERT_TRUE (list->saveAndRemember());
    takeEditorChange (*list);

    now += 5000;
    list->poll();
    EXPECT_FALSE (takeEditorChange (*list));
}

TEST_F (GlobalSettingsFileTest, PollingGoesOnAfterTheClockWasSetBack)
{
    auto writer = makeList();
    auto reader = makeList();
    writer->attach (GlobalParamList::fileName);
    reader->attach (GlobalParamList::fileName);
    reader->poll();

    set (*writer, GlobalParamList::sliderMode, 1.0);
    ASSERT_TRUE (writer->saveAndRemember());
    now -= 60000;
    reader->poll();
    EXPECT_EQ (mode (*reader), "linear");
}

TEST_F (GlobalSettingsFileTest, ADeletedFileIsWrittenAgain)
{
    auto list = makeList();
    list->attach (GlobalParamList::fileName);
    set (*list, GlobalParamList::mouseSensitivity, 77.0);
    ASSERT_TRUE (settingsFile().deleteFile());

    now += 1000;
    list->poll();
    ASSERT_TRUE (settingsFile().existsAsFile());
    EXPECT_TRUE (settingsFile().loadFileAsString().contains ("<mouseSensitivity>77</mouseSensitivity>"));
}

TEST_F (GlobalSettingsFileTest, AFolderThatCannotBeCreatedReportsFailure)
{
    // The shared folder's parent is a plain file.
    ASSERT_TRUE (root.replaceWithText ("not a folder"));
    auto list = makeList();
    set (*list, GlobalParamList::mouseSensitivity, 150.0);
    list->attach (GlobalParamList::fileName);

    EXPECT_EQ (sensitivity (*list), 150);
    EXPECT_FALSE (list->save());
    EXPECT_FALSE (list->saveAndRemember());
    EXPECT_FALSE (settingsFile().exists());
    root.deleteFile();
}

TEST_F (GlobalSettingsFileTest, NothingIsWrittenBeforeAttaching)
{
    auto list = makeList();
    EXPECT_FALSE (list->save());
    EXPECT_FALSE (sharedFolder().exists());
}

TEST (SharedFolder, IsTheConfigurationFolderJoinedWithQuillfen)
{
    // The test runner points XDG_CONFIG_HOME at a temporary folder.
    const juce::File configHome (juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {}));
    ASSERT_TRUE (configHome.isDirectory());

    const SharedFolder folder;
    EXPECT_EQ (folder.getFolder(), configHome.getChildFile ("Quillfen"));
    EXPECT_EQ (folder.getFile ({}), folder.getFolder());
    EXPECT_EQ (folder.getFile ("Brevalon.conf"), configHome.getChildFile ("Quillfen/Brevalon.conf"));

    GlobalParamList settings;
    settings.attach (GlobalParamList::fileName);
    EXPECT_TRUE (configHome.getChildFile ("Quillfen/global.conf").existsAsFile());
    configHome.getChildFile ("Quillfen").deleteRecursively();
}

TEST (GlobalParamList, HoldsTheTwoSettingsWithTheirDefaults)
{
    GlobalParamList settings (SharedFolder (juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("unused")));
    EXPECT_TRUE (settings.isComplete());
    EXPECT_EQ (settings.getCount(), 2);

    auto* mode = settings.getParameterAt (GlobalParamList::sliderMode);
    EXPECT_EQ (mode->getId(), "sliderMode");
    EXPECT_EQ (mode->getText(), "velocity");
    EXPECT_EQ (mode->getMaximum(), 1.0);

    auto* sensitivity = settings.getParameterAt (GlobalParamList::mouseSensitivity);
    EXPECT_EQ (sensitivity->getId(), "mouseSensitivity");
    EXPECT_EQ (sensitivity->getText(), "100");
    EXPECT_EQ (sensitivity->getIntValue(), 100);
    EXPECT_EQ (sensitivity->getMinimum(), 1.0);
    EXPECT_EQ (sensitivity->getMaximum(), 200.0);

    EXPECT_FALSE (mode->hasChangeFlags (Parameter::allFlags));
    EXPECT_EQ (settings.getFile(), juce::File()) << "no file before attach";
}
