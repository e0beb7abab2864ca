#include "resources/NamedResources.h"

#include "BinaryData.h"

#include <cstring>
#include <iterator>

namespace brevalon::resources
{
namespace
{
// The table's order of names.
constexpr const char* tableOrder[] = {
    "LED_blue_png",
    "LED_green_png",
    "LED_orange_png",
    "LED_red_png",
    "LED_white_png",
    "ab_png",
    "ab_s2_png",
    "ab_s3_png",
    "acopyb_png",
    "acopyb_s2_png",
    "acopyb_s3_png",
    "ba_png",
    "ba_s2_png",
    "ba_s3_png",
    "bcopya_png",
    "bcopya_s2_png",
    "bcopya_s3_png",
    "button_png",
    "button_s2_png",
    "button_s3_png",
    "checkbox_png",
    "help_png",
    "help_s2_png",
    "help_s3_png",
    "info_png",
    "info_s2_png",
    "info_s3_png",
    "logo_png",
    "next_png",
    "next_s2_png",
    "next_s3_png",
    "prev_png",
    "prev_s2_png",
    "prev_s3_png",
    "redo_png",
    "redo_s2_png",
    "redo_s3_png",
    "settings_png",
    "settings_s2_png",
    "settings_s3_png",
    "undo_png",
    "undo_s2_png",
    "undo_s3_png",
    "window_background_png",
    "defaultHelp_xml",
    "help_xml",
    "knobmid_png",
    "knobsmall_png",
    "bypass_button_down_png",
    "bypass_button_up_png",
    "background_png",
    "button_down_png",
    "button_over_png",
    "button_up_png",
    "display_background_png",
    "touch_display_background_png",
    "touch_display_wide_background_png",
    "presets_xml",
};

bool isCompiledIn (const char* name) noexcept
{
    for (int i = 0; i < BinaryData::namedResourceListSize; ++i)
        if (std::strcmp (BinaryData::namedResourceList[i], name) == 0)
            return true;
    return false;
}
} // namespace

const char* getNamedResource (const char* name, int& size) noexcept
{
    // The generated lookup selects by a hash of the name alone, so another name with the same
    // hash would find a resource; only exact names are accepted.
    size = 0;
    if (name == nullptr || ! isCompiledIn (name))
        return nullptr;
    return BinaryData::getNamedResource (name, size);
}

std::vector<const char*> getNamedResourceNames()
{
    return { std::begin (tableOrder), std::end (tableOrder) };
}

} // namespace brevalon::resources
