#pragma once

#include <vector>

// Lookup of the embedded images and documents by name ("undo_png", "help_xml", ...).
namespace brevalon::resources
{

// The block of the resource with exactly this name (case-sensitive) and its size, or null and
// size 0 for any other name.
const char* getNamedResource (const char* name, int& size) noexcept;

// The names of the embedded resources, in the table's fixed order.
std::vector<const char*> getNamedResourceNames();

} // namespace brevalon::resources
