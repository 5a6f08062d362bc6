#pragma once

#include <string>
#include <string_view>
#include <vector>

class TWorkBuffer;
class IBrowserCommandSource;
class IProgramStarter;

// Returns the text between the first opening marker and the first closing marker after it, and
// consumes the buffer up to that closing marker, which stays at the front so it can open the next
// extraction. Markers match with the ASCII letters folded; the result is taken unfolded. Empty
// when either marker is missing; a missing opening marker leaves the buffer unchanged.
std::string ExtractBetween(std::string_view openMarker, std::string_view closeMarker, int offset,
                           TWorkBuffer &buffer);

// Replaces list with the fields of text cut at separator. Empty fields between separators and a
// leading one remain; a trailing empty field is dropped.
void SplitBySeparator(char separator, std::string_view text, std::vector<std::string> &list);

// Decodes "$hh" escapes (one or two hex digits). Any malformed escape makes the whole result empty.
std::string DecodeHexEscapes(std::string_view text);

// The program file to start, from the default browser's registered command: the command up to
// its ".exe", lower-cased and unquoted; for a command without ".exe" (every Linux command), its
// first word with quotes honoured, as written.
std::string BrowserProgramFromCommand(std::string_view command);

// Starts the default web browser with address as its only argument. False when no browser is
// registered; whether the start itself worked is not reported.
bool OpenUrlInBrowser(const std::string &address, IBrowserCommandSource &browsers, IProgramStarter &starter);
bool OpenUrlInBrowser(const std::string &address);

// The settings container on file level, with the built-in password. The input is opened before
// the output is created, so a missing input leaves no output file. They throw EFileError when a
// file cannot be opened or created; the result is the container operation's outcome, which the
// settings loader ignores.
bool DecryptToFile(const std::string &containerPath, const std::string &plainPath);
bool EncryptToFile(const std::string &plainPath, const std::string &containerPath);
