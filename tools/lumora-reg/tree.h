#pragma once
// Whole key trees: the registry deletes one key at a time and refuses a key
// that still has sub-keys, so trees go leaf first.
#include <ostream>
#include <string>

#include "tools/lumora-reg/key_path.h"

namespace lumorareg {

// Deletes the key and everything below it.  A root key cannot be deleted
// (ERROR_ACCESS_DENIED).
LONG DeleteTree(const KeyPath& key);

// Writes the key's section and its sub-keys' sections, depth first, as
// REGEDIT4 text.  On failure error names the key or value.
LONG ExportTree(const KeyPath& key, std::ostream& out, std::string& error);

// Writes one key's own values, then its sub-key names each followed by "\".
LONG ListKey(const KeyPath& key, std::ostream& out, std::string& error);

}  // namespace lumorareg
