#pragma once
// The builders that add content to the target's page in memory: text lines as paragraphs of the
// outline that collects them, HTML blocks, attached files and the placement of placed objects.
// Nothing reaches OneNote until the page is saved. Each hands back the target's next position,
// start position and collecting outline, for the caller to store in its target.

#include "import_engine/ImportConfig.h"
#include "import_engine/Target.h"

#include <optional>
#include <string>
#include <vector>

void AddOutlineToPage(std::shared_ptr<ON::Outline>& outline, Target& target);

// One paragraph per line; "code" lines go into a block of their own, indented one level.
ImportResult AddTextOutline(const std::vector<std::wstring>& lines, const std::optional<std::wstring>& quickStyle,
                            Target& target);
ImportResult AddTextLineOutline(const std::wstring& line, const std::optional<std::wstring>& quickStyle,
                                Target& target);

// An HTML block with the HTML text given inline, unchanged.
ImportResult InsertFileReference(const std::wstring& html, Target& target);
// An HTML block naming a file that OneNote reads and converts itself.
ImportResult InsertHtmlContent(const std::wstring& path, Target& target);
// The file at path attached to the page; OneNote shows it as name where one is given (the name of
// the file that path is a copy of).
ImportResult InsertAttachment(const std::wstring& path, unsigned depth, Target& target, const std::wstring& name = {});

// Gives a new image or attachment its place at the start position, and the next place below it;
// places nothing on the builds where OneNote lays out new content itself (no start position).
ImportResult PlaceNextElement(ON::PageObject& object, Target& target, unsigned depth, double gap);

// Makes the line (escaped for XML) the paragraph's only text.
void SetOEText(ON::OE& oe, const std::wstring& line);

// The link to a file as HTML, the path shown as its text: escaped for XML in the text, and in the
// href with "&" and the quote escaped and "%" and "#" percent-encoded, so that no character of a
// file name breaks the page or the link.
std::wstring FileLinkHtml(const std::wstring& path);
