// Phrase files on disk: reading one into a node, and writing a node so that a
// failed or interrupted write never costs the phrase that was there.
#pragma once

#include <cstdint>
#include <string>

#include "phrases/command.h"
#include "phrases/command_xml.h"

namespace wlk::phrases {

inline constexpr char16_t kPhraseExtension[] = u".wordlark";
inline constexpr char16_t kFolderSelfName[] = u"FOLDER_SELF.wordlark";

// Reads a UTF-8 file, or else one in the system's ANSI code page.
ReadOutcome ReadCommandFileOutcome(CWLKCommand& node, const Text& fileName);
bool ReadCommandFile(CWLKCommand& node, const Text& fileName);

// A group writes its "FOLDER_SELF.wordlark", a phrase its own file.
Text CommandFileName(const CWLKCommand& node);

// Builds and writes at once, on the calling thread.
bool WriteCommandFile(const CWLKCommand& node, const Text& fileName);

// Writes a printed document beside `fileName` under a temporary name and then
// swaps it in with one replacing move. A read-only target is replaced too; a file
// that did not exist before is made open to Everyone, as the editor expects.
bool WriteDocumentFile(const std::string& document, const Text& fileName);

}  // namespace wlk::phrases
