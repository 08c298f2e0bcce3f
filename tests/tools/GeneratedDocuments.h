#pragma once
// OneNote documents made up at random in the shape OneNote answers them, for the fuzz test to
// mutate beside the fixtures: hierarchies with section groups nested to several levels, and
// pages with nested paragraphs, lists, tags and tables.

#include <random>
#include <string>

namespace GeneratedDocuments
{
std::wstring Hierarchy(std::mt19937& random);
std::wstring Page(std::mt19937& random);
} // namespace GeneratedDocuments
