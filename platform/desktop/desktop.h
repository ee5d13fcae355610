#pragma once
// A program's registrations with the desktop, for the current user: its
// entries, MIME package and icon under the XDG data home, and its place in
// xscreensaver's list of programs.  What an addition changed is noted as
// values under a key of HKEY_LOCAL_MACHINE that the caller names, so that
// the removal undoes exactly that and leaves everything of the user's alone.
#include <string>
#include <vector>

namespace platform {

struct DesktopFile {
    std::string path;  // under the data home: "applications/x.desktop", "mime/packages/x.xml", ...
    std::string contents;
};

// Writes the files, replacing them, and brings the MIME and desktop-entry
// databases up to date where their tools are installed.  The folders made
// for them are noted.  False when a file could not be written.
bool AddDesktopFiles(const std::vector<DesktopFile>& files, const char* noteKey);
// Deletes the files, brings the databases up to date (dropping a database
// whose last package or entry went), and removes the noted folders that are
// empty now.
void RemoveDesktopFiles(const std::vector<std::string>& paths, const char* noteKey);

// Adds the entry (see xscreensaver::ProgramEntry) to the programs of
// ~/.xscreensaver, making the file when there is none, and makes it the one
// xscreensaver shows.  An entry added before is taken out first.  False when
// the file was left as it was.
bool AddScreenSaverProgram(const std::string& entry, const char* noteKey);
// Takes the noted entry out and gives the user's choice back where it still
// holds ours; a file that was made for it goes when nothing else is in it.
void RemoveScreenSaverProgram(const char* noteKey);

// The program of that name on PATH, or empty.
std::string FindProgram(const std::string& name);

}  // namespace platform
