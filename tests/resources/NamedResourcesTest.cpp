#include "resources/NamedResources.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace brevalon;

using brevalon::resources::getNamedResource;

TEST (NamedResources, ExactCaseSensitiveLookup)
{
    int size = -1;
    const char* help = getNamedResource ("help_xml", size);
    ASSERT_NE (help, nullptr);
    EXPECT_EQ (size, 792);
    EXPECT_EQ (std::string (help, 38), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");

    // Absent names, a different case, and a name with the same 31-based hash as "help_xml".
    for (const char* name : { "infologo_png", "Help_xml", "help_xm", "help_xml ", "", "hfMp_xml" })
    {
        size = 123;
        EXPECT_EQ (getNamedResource (name, size), nullptr) << name;
        EXPECT_EQ (size, 0) << name;
    }
    size = 123;
    EXPECT_EQ (getNamedResource (nullptr, size), nullptr);
    EXPECT_EQ (size, 0);
}

TEST (NamedResources, TableHoldsEveryResourceInItsOrder)
{
    const auto expected = juce::StringArray::fromTokens (
        "LED_blue_png LED_green_png LED_orange_png LED_red_png LED_white_png ab_png ab_s2_png ab_s3_png acopyb_png acopyb_s2_png "
        "acopyb_s3_png ba_png ba_s2_png ba_s3_png bcopya_png bcopya_s2_png bcopya_s3_png button_png button_s2_png button_s3_png "
        "checkbox_png help_png help_s2_png help_s3_png info_png info_s2_png info_s3_png logo_png next_png next_s2_png next_s3_png "
        "prev_png prev_s2_png prev_s3_png redo_png redo_s2_png redo_s3_png settings_png settings_s2_png settings_s3_png undo_png "
        "undo_s2_png undo_s3_png window_background_png defaultHelp_xml help_xml knobmid_png knobsmall_png bypass_button_down_png "
        "bypass_button_up_png background_png button_down_png button_over_png button_up_png display_background_png "
        "touch_display_background_png touch_display_wide_background_png presets_xml",
        " ", "");
    ASSERT_EQ (expected.size(), 58);

    juce::StringArray names;
    for (const char* name : resources::getNamedResourceNames())
        names.add (name);
    EXPECT_EQ (names, expected);
    for (const auto& name : names)
    {
        int size = 0;
        EXPECT_NE (getNamedResource (name.toRawUTF8(), size), nullptr) << name;
        EXPECT_GT (size, 0) << name;
    }
}

// Help documents: declaration, CR LF line ends, one CDATA paragraph per help id.
TEST (NamedResources, HelpDocumentsParseWithTheirIdsInOrder)
{
    const struct
    {
        const char* resource;
        std::vector<std::string> ids;
    } documents[] = {
        { "defaultHelp_xml", { "about", "abStates", "help", "presetManagement", "settings", "undoRedo" } },
        { "help_xml", { "display", "frequency", "slope", "amount", "bypass" } },
    };
    for (const auto& d : documents)
    {
        int size = 0;
        const char* data = getNamedResource (d.resource, size);
        const juce::String text (juce::CharPointer_UTF8 (data), (size_t)size);
        EXPECT_TRUE (text.contains ("\r\n"));
        EXPECT_FALSE (text.replace ("\r\n", "").containsChar ('\n')) << "every line ends with CR LF";

        const auto root = juce::parseXML (text);
        ASSERT_NE (root, nullptr) << d.resource;
        EXPECT_EQ (root->getTagName(), "helpResources");
        std::vector<std::string> ids;
        for (auto* child : root->getChildIterator())
        {
            ids.push_back (child->getTagName().toStdString());
            EXPECT_TRUE (child->hasAttribute ("title"));
            EXPECT_FALSE (child->getAllSubText().trim().isEmpty());
        }
        EXPECT_EQ (ids, d.ids) << d.resource;
    }

    int size = 0;
    const char* data = getNamedResource ("defaultHelp_xml", size);
    const auto help = juce::parseXML (juce::String::fromUTF8 (data, size));
    ASSERT_NE (help, nullptr);
    EXPECT_EQ (help->getChildByName ("help")->getStringAttribute ("title"), "Dynamic help mode");
    EXPECT_TRUE (help->getChildByName ("abStates")->getAllSubText().contains ("settings.\r\n\r\nA>B or B<A"));
}
