#pragma once

namespace scenario::render::style {

// Colours of the scenario picture, one per kind of mark.
inline constexpr const char* ink = "#222222";
inline constexpr const char* muted = "#666666";
inline constexpr const char* grid = "#dddddd";
inline constexpr const char* track = "#333333";
inline constexpr const char* run_off = "#aaaaaa";  // the grid past the route end
inline constexpr const char* tunnel = "#9c6b3c";
inline constexpr const char* slowdown = "#f08c00";
inline constexpr const char* station = "#1f4fa8";
inline constexpr const char* signal = "#1b8a3a";
inline constexpr const char* board = "#8a3fb0";
inline constexpr const char* speed_board = "#d6336c";
inline constexpr const char* code_point = "#0f8f8f";
inline constexpr const char* error = "#d00000";
inline constexpr const char* speed = "#1f4fa8";
inline constexpr const char* gradient = "#a0522d";
inline constexpr const char* adhesion = "#1b8a3a";
inline constexpr const char* font = "DejaVu Sans, Arial, Helvetica, sans-serif";

}  // namespace scenario::render::style
