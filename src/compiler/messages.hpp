#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/cella.hpp"

namespace scenario {

// The one table of error sentences, shared by every program that shows a diagnostic.

// What is wrong, and what to change, for one error number.
struct error_text {
    std::int32_t number;
    const char* problem;
    const char* remedy;
};

// Every error number the compiler can record or raise, in ascending order.
std::span<const error_text> error_texts();

// The entry for an error number, or nullptr for a number the compiler never records.
const error_text* find_error_text(std::int32_t number);

// The whole sentence: what is wrong, with the detail (which field, what failed) after a
// colon when there is one, then what to change.
std::string error_message(std::int32_t number, std::string_view detail = {});
// The same with another remedy than the table's, for a cause the table's does not fit.
std::string error_message(std::int32_t number, std::string_view detail, std::string_view remedy);

// The places where the block checks can fail to put an automatic code point.
enum class block_place {
    signal_before_board,  // error 11: cells first = the signal's, second = the warning board's
    window_before_start,  // error 12: first = the window ("250 to 350 m"), second = start cell
    inside_slowdown,      // error 13: first = the cell where the point was due, second = start
    signal_after_end,     // error 13: first = the signal's cell, second = the end cell
};

std::int32_t block_error_number(block_place place);

// The whole sentence of a block error, said in full where it happened, then what to
// change.
std::string block_message(block_place place, std::string_view first, std::string_view second);

// The warnings: what the readers accept without an error but an author would want to
// hear about. Each has a name, by which the tool switches it off.
enum class warning : std::uint8_t {
    unknown_keyword,
    keyword_case,
    keyword_in_word,
    keyword_outside_section,
    remark_keyword,
    data_remark,
    comment_style,
    surplus_fields,
    missing_fields,
    decimal_comma,
    double_comma,
    text_cut,
    value_wrapped,
    value_packed,
    value_rounded,
    value_ignored,
    hidden_row,
    shared_cell,
    element_replaced,
    half_written,
    unlikely_speed,
    unlikely_gradient,
    unlikely_adhesion,
    unlikely_stripes,
    station_kind,
    time_of_day,
    time_goes_back,
    board_speed,
    missing_train_value,
    out_of_order,
    nonpositive_length,
    beyond_route,
    dropped,
    missing_fine,
    data_after_fine,
    missing_generale,
    no_stations,
    empty_document,
    documents_swapped,
    same_document,
    not_windows_1252,
    // the timetable's (timetable/)
    timetable,
    timetable_tight,
};

struct warning_text {
    warning id;
    const char* name;     // as the tool's -Wno-NAME takes it
    const char* summary;  // what it reports, for the tool's help
};

// Every warning, in the order of the enum.
std::span<const warning_text> warning_texts();
const char* warning_name(warning w);
std::optional<warning> find_warning(std::string_view name);

// Every other sentence a diagnostic says: the warnings' sentences, the notes and the
// details of errors. {0}, {1}, ... stand for the values given to say().
enum class phrase : std::uint8_t {
    // unknown-keyword
    unknown_keyword_like,
    unknown_keyword,
    // keyword-case
    keyword_case,
    // keyword-in-word
    keyword_in_word,
    keyword_several,
    // keyword-outside-section
    body_keyword_in_general_part,
    general_keyword_in_body,
    keyword_of_other_document,
    keyword_before_generale,
    // remark-keyword, data-remark, comment-style
    remark_read_as_keyword,
    data_row_as_remark,
    comment_read_as_entry,
    comment_read_as_fields,
    // surplus-fields, missing-fields
    surplus_fields,
    surplus_field_is_keyword,
    missing_fields,
    // decimal-comma, double-comma, text-cut
    decimal_comma,
    double_comma,
    double_comma_shifts,
    text_cut,
    // value-wrapped, value-rounded, value-ignored
    gradient_wrapped,
    adhesion_wrapped,
    wrapped16,
    wrapped8,
    speed_rounded,
    board_speed_rounded,
    signal_time_raised,
    signal_time_ignored,
    prewarning_ignored,
    value_tunnel_type,
    value_signal_pair,
    value_signal_fourth,
    value_signal_time,
    value_approach_marker,
    value_stripes,
    value_slowdown_speed,
    value_slowdown_third,
    value_slowdown_sixth,
    value_code,
    // value-packed
    packed_digit,
    packed_negative,
    packed_board,
    // hidden-row, shared-cell, element-replaced, half-written
    hidden_profile_row,
    hidden_general_row,
    shared_cell,
    element_replaced,
    half_written_board,
    half_written_station,
    // values no railway has
    unlikely_speed,
    unlikely_gradient,
    unlikely_adhesion,
    unlikely_stripes,
    station_kind,
    time_of_day,
    time_goes_back,
    board_speed,
    missing_train_value,
    // out-of-order
    profile_goes_back,
    curve_inside_previous,
    tunnel_inside_previous,
    // nonpositive-length
    curve_length_not_positive,
    tunnel_end_not_after_start,
    slowdown_length_not_positive,
    station_length_not_positive,
    // beyond-route, dropped
    beyond_route,
    tunnel_cells_dropped,
    signal_markers_dropped,
    station_markers_dropped,
    // missing-fine, data-after-fine, missing-generale, no-stations, empty-document
    missing_fine,
    data_after_fine,
    missing_generale,
    no_stations,
    empty_document,
    // documents-swapped, same-document
    documents_swapped,
    line_document_looks_like_train,
    train_document_looks_like_line,
    same_document,
    // not-windows-1252
    not_windows_1252,
    // notes
    note_general_part_ends,
    note_general_part_never_ends,
    note_field_found_here,
    note_field_taken_here,
    note_speed_filled_by_row,
    note_speed_filled_at_end,
    note_cell_taken,
    note_cell_automatic,
    note_cell_unknown_origin,
    note_warning_board,
    note_signal_after_end,
    note_previous_row,
    note_zone_end_with_flag,
    note_replaced_by,
    note_rest_not_read,
    note_document_not_read,
    note_previous_time,
    note_speed_profile,
    // details of errors, and the tool's own errors
    detail_zone,
    detail_missing_field,
    detail_document,
    detail_cell_one,
    detail_cell_one_automatic,
    detail_station_before_previous,
    remedy_station_order,
    text_too_long,
    name_too_long,
    // timetable, timetable-tight
    timetable_too_short,
    timetable_blocked,
    timetable_tight,
    clock_after_departure,
    note_timed_before,
    note_timed_here,
};

// The sentence of a phrase with its values put in.
std::string say(phrase p, std::initializer_list<std::string_view> values = {});

// What an element in a cell of this kind is called in a sentence ("signal").
const char* element_name(tipo kind);

}  // namespace scenario
