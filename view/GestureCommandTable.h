#pragma once
#include "platform/WinTypes.h"

#include <array>
#include <cstddef>
#include <string>

// One row of the gesture table: a gesture drawn on a layer and the command it runs.
struct GestureCommand {
    const char* name;   // gesture name; null only in the terminator
    const char* layer;  // "A" any, "B" background, "M" maze, "F" foreground, "T" text
    const char* kind;   // "C": posts the command
    DWORD command;      // command number in the low 16 bits
    const char* option; // null in every command row, "*" in the terminator
    const char* sound;  // feedback sound; null plays "found"
    const char* title;  // title and description only name the row
    const char* description;
};

inline constexpr std::size_t kGestureCommandRows = 39;

// The gestures the view understands, searched from the top; the last row is the terminator
// that stands for "no match".
class GestureCommandTable {
public:
    static const std::array<GestureCommand, kGestureCommandRows>& Rows();
    static constexpr std::size_t kTerminator = kGestureCommandRows - 1;

    // The letter of the active layer: 1 "B", 2 "M", 3 "F", 4 "T", otherwise empty.
    static std::string LayerLetter(int activeLayer);
    // The first row for `name` drawn on `activeLayer` (exact, case-sensitive name; the row's
    // layer is the layer's letter or "A"); the terminator when none matches.
    static std::size_t Find(const std::string& name, int activeLayer);
    // The sound a row plays.
    static const char* SoundOf(const GestureCommand& row);
};
