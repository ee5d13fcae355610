#pragma once
// The platform root the registry harnesses run against: a fresh directory
// of their own for the life of the process, so that no input ever reaches
// the user's hives.
#include <filesystem>
#include <string>

namespace fuzzsupport {

// Made and pointed to by LUMORA_ROOT on first use, with both registry hives
// kept in memory; removed at exit.
const std::string& PrivateRoot();

// The bytes as a file under the private root, replacing it.
std::string WriteInput(const char* name, const void* data, std::size_t size);

// A file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

void Check(bool holds);

}  // namespace fuzzsupport
