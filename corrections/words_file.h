#pragma once
// words.ini: the corrections list, one row per line in list order. Despite its name it is a
// line file, not an INI file: each line is the word, the separator, the pronunciation, the
// separator and the case mark, with no escaping; the text is in the system's ANSI code page and
// every line, the last one included, ends in CR LF.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corrections/correction.h"
#include "platform/code_page.h"
#include "platform/text.h"

namespace parlino::corrections {

inline constexpr TextView kSeparator = u"###***###";

// Splits one line as the file has always been read: the word is what comes before the first
// separator; then the word and the separator are cut off, and when there was no separator the
// first eight characters are cut off instead. The same again gives the pronunciation, and what
// is left is the case mark. A line of another shape is not rejected; it is split the same way.
Correction ParseWordsLine(TextView line);
Text FormatWordsLine(const Correction& row);

// True when a word or pronunciation comes back whole from its line: it holds no line break and
// no NUL, and the first separator after its start is the one written after it (so it neither
// contains the separator nor ends in a beginning of it that the separator would complete).
bool IsStorableField(TextView field);

// The rows of a file's bytes. Lines end at CR LF, at a lone CR or at a lone LF; each line is
// decoded on its own, and a UTF-8 byte-order mark at the start is skipped.
std::vector<Correction> ParseWordsFile(std::string_view bytes, const platform::CodePage& page);
// A file whose first bytes would be taken for a UTF-8 byte-order mark gets one in front, so
// that it reads back as it was written.
std::string EncodeWordsFile(const std::vector<Correction>& rows, const platform::CodePage& page);

// The rows of the file, or nothing when it does not exist (a link to nowhere counts as missing).
// Any other failure to read it throws a PlatformError that names the file and the cause.
std::optional<std::vector<Correction>> ReadWordsFile(const std::filesystem::path& path,
                                                     const platform::CodePage& page);
// Replaces the file with the rows as a whole, with the rules of every data file: crash-safe,
// through symbolic links to their target, keeping its mode and hard links, refusing a file the
// user may not write. Throws a PlatformError naming the file and the cause; the file then is as
// it was.
void WriteWordsFile(const std::filesystem::path& path, const std::vector<Correction>& rows,
                    const platform::CodePage& page);
// Removes the file; a missing file or a failure to remove it is no error.
void RemoveWordsFile(const std::filesystem::path& path) noexcept;

}  // namespace parlino::corrections
