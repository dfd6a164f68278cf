// Writing a whole file so that a failure destroys nothing. The bytes go to a new file beside
// the target, which is renamed over the target only once every byte is on the disk, so a full
// disk or a killed program leaves the earlier file, or none, in place.
//
//     try {
//         ReplaceFileContent("/home/me/Chicago-IL-2007.csv", text);
//     } catch (const CException& e) {
//         reporter.ReportError(e.GetErrorMessage());
//     }
//
// Only a regular file (or a symbolic link to one, which stays a link) may be replaced: a
// rename would turn a device, a pipe, a socket or a folder into a regular file, and as root
// that could be /dev/null. The check is made before anything is written.
#pragma once

#include <string>
#include <string_view>

// Throws CFileException with the system's reason ("Cannot write file /x: No space left on
// device") when creating, writing or renaming fails, and CMessageException naming the kind of
// file when the target exists and is not a regular file. The permissions of a replaced file are
// kept; a new file gets the usual 0666 less the umask.
void ReplaceFileContent(const std::string& path, std::string_view bytes);
