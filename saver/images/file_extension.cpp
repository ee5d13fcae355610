#include "saver/images/file_extension.h"

// A byte walk is multi-byte safe here: in UTF-8 no byte of a multi-byte
// character can be taken for a dot, a blank or a separator.
const char* FileExtension(const char* name) {
    const char* dot = nullptr;
    const char* p = name;
    for (; *p; ++p) {
        if (*p == '.')
            dot = p;
        else if (*p == ' ' || *p == '\\' || *p == '/')
            dot = nullptr;
    }
    return dot ? dot : p;
}

char* FileExtension(char* name) { return const_cast<char*>(FileExtension(static_cast<const char*>(name))); }
