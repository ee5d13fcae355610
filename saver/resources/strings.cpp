#include "saver/resources/strings.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

struct StringEntry {
    UINT id;
    const char* text;
};

// Ids 10 to 116 are the control names, as the module tables refer to them.
constexpr StringEntry StringTable[] = {
    {1, "Lumoric"},
    {10, "Beziers"},          {11, "Symmetry"},         {12, "Trail Length"},   {13, "Width"},
    {14, "Speed"},            {15, "Duration"},         {16, "X Tiling"},       {17, "Y Tiling"},
    {18, "Tile Type"},        {19, "Strength"},
    {20, "Objects"},          {21, "Spasticity"},       {22, "Trail Length"},   {23, "Diameter"},
    {24, "Planar Symmetry"},  {25, "Object Rotation"},  {26, "Object Sides"},   {27, "Object Type"},
    {28, "Strength"},
    {29, "Type"},             {30, "X Strength"},       {31, "Y Strength"},     {32, "Display Interval"},
    {33, "Strength"},
    {34, "Display Type"},     {35, "Force Gradient"},   {36, "Duration"},       {37, "Smoothing"},
    {38, "Random Order"},     {39, "File or Screen"},   {40, "Strength"},
    {41, "Waves"},            {42, "Turbulence"},       {43, "Type"},           {44, "Image Duration"},
    {45, "Turbulence Type"},  {46, "Pattern Density"},  {47, "Wave type"},      {48, "Strength"},
    {49, "Roughness"},        {50, "Update Interval"},  {51, "Effect"},         {52, "Image Duration"},
    {53, "Strength"},
    {54, "Actv/Svd/Snd"},     {55, "Maximum at once"},  {56, "Duration"},       {57, "Random Controls"},
    {58, "Clear Screen"},     {59, "Strength"},
    {60, "Size"},             {61, "Symmetry"},         {62, "Type"},           {63, "Image Duration"},
    {64, "X Tiling"},         {65, "Y Tiling"},         {66, "Tile Type"},      {67, "Strength"},
    {68, "Nodes"},            {69, "Type"},             {70, "Image Duration"}, {71, "Strength"},
    {72, "Stars"},            {73, "Star Size"},        {74, "Speed"},          {75, "X Revolve"},
    {76, "Y Revolve"},        {77, "Z Revolve"},        {78, "Star Rotation"},  {79, "Star Sides"},
    {80, "Star Type"},        {81, "Strength"},
    {82, "Points on edge"},   {83, "Spasticity"},       {84, "Amplitude"},      {85, "Image Duration"},
    {86, "Type"},             {87, "Collapse Rate"},    {88, "Radius Flux"},    {89, "Flux Amplitude"},
    {90, "Strength"},
    {91, "Vertices"},         {92, "Symmetry"},         {93, "Speed"},          {94, "Outline"},
    {95, "X Tiling"},         {96, "Y Tiling"},         {97, "Tile Type"},      {98, "Strength"},
    {99, "X Tiling"},         {100, "Y Tiling"},        {101, "Tile Type"},     {102, "Symmetry"},
    {103, "X Tiling"},        {104, "Y Tiling"},        {105, "Tile Type"},
    {106, "X Tiling"},        {107, "Y Tiling"},        {108, "Tile Type"},
    {109, "X Tiling"},        {110, "Y Tiling"},        {111, "Tile Type"},
    {112, "X Tiling"},        {113, "Y Tiling"},        {114, "Tile Type"},
    {115, "Folding"},         {116, "Folding"},
};

static_assert(std::is_sorted(std::begin(StringTable), std::end(StringTable),
                             [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; }),
              "the look-up relies on ascending ids");

}  // namespace

int LoadSaverString(UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    const auto* entry = std::lower_bound(std::begin(StringTable), std::end(StringTable), id,
                                         [](const StringEntry& e, UINT wanted) { return e.id < wanted; });
    if (entry == std::end(StringTable) || entry->id != id) {
        return 0;
    }
    const std::size_t length = std::min(std::strlen(entry->text), static_cast<std::size_t>(bufferMax - 1));
    std::memcpy(buffer, entry->text, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}
