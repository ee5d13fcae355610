#pragma once
// Reads REGEDIT4 text and applies it: "[KEY]" creates a key and makes it
// current, "[-KEY]" deletes a key tree, value lines set ("name"=...) or delete
// ("name"=-) values of the current key.  A line ending in "\" continues on
// the next.  The whole file is checked before anything changes, and it is
// applied as one transaction per hive.
#include <istream>
#include <string>

namespace lumorareg {

// On failure error reads "LINE: what is wrong".
bool ImportRegedit(std::istream& in, std::string& error);

}  // namespace lumorareg
