#pragma once
// The help guide the program carries: the keyword index and the pages it
// names, installed into the Windows directory when the settings open.
#include <cstddef>

#include "saver/resources/embedded_file.h"

// Every file of the guide, the index among them.
extern const EmbeddedFile HelpGuideFiles[];
extern const std::size_t HelpGuideFilesCount;

// The folder under the Windows directory that holds the pages.
constexpr char HelpGuideFolder[] = "lumora-help";
