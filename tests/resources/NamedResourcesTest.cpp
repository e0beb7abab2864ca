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

TEST (NamedResources, NamesFollowTheTableOrder)
{
    const auto names = brevalon::resources::getNamedResourceNames();
    ASSERT_GE (names.size(), 3u);
    // The documents keep their relative order: defaultHelp_xml, help_xml, ..., presets_xml last.
    std::vector<std::string> documents;
    for (const char* name : names)
        if (juce::String (name).endsWith ("_xml"))
            documents.emplace_back (name);
    EXPECT_EQ (documents, (std::vector<std::string>{ "defaultHelp_xml", "help_xml", "presets_xml" }));
    EXPECT_STREQ (names.back(), "presets_xml");
    for (const char* name : names)
    {
        int size = 0;
        EXPECT_NE (getNamedResource (name, size), nullptr) << name;
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
