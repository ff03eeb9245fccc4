#pragma once
// The main window's form, described once: each field's caption, tooltip and place, and the
// headings, notes and rules between them. The window makes its widgets from these tables and
// the Tab key visits the fields in the table's order, so that adding a field is one row.

#include <Qt>
#include <array>

#include "engine/field_table.h"

namespace slabrating::ui {

/// The form's grid has four columns: a caption, a field, a caption, a field.
inline constexpr int kFormColumns = 4;

/// The grid that holds a widget: the form's own, or the reinforcing steel's table within it.
enum class FormGrid { Form, Steel };

/// A cell of a grid and the columns it spans (grid rows and columns, from 0).
struct GridCell {
    int row;
    int column;
    int columnSpan = 1;
};

/// How wide a field's line edit is.
enum class FieldWidth {
    Standard,   ///< the design's field width
    Wide,       ///< half as wide again at least, and up to the window's right edge
    TwoDigits,  ///< room for the modular ratio's two digits
};

/// One field of the form.
struct FormField {
    Field id;
    /// The label that names it in the window (Latin-1), or null where the steel table's row
    /// label names it.
    const char* caption = nullptr;
    const char* toolTip = nullptr;  ///< Latin-1; null for none
    FormGrid grid = FormGrid::Form;
    GridCell captionCell = {};
    GridCell editCell = {};
    /// Where the line edit sits in its cell; none to let it take the cell's width.
    Qt::Alignment editAlignment = {};
    /// Where the caption's text sits in its cell.
    Qt::Alignment captionAlignment = Qt::AlignRight | Qt::AlignVCenter;
    FieldWidth width = FieldWidth::Standard;
};

/// The fields in the order the Tab key visits them.
inline constexpr std::array<FormField, kFieldCount> kFormFields{{
    {.id = Field::StructNo,
     .caption = "Structure Number:",
     .toolTip = "Enter the structure number",
     .captionCell = {1, 0},
     .editCell = {1, 1}},
    {.id = Field::Rater,
     .caption = "Rater:",
     .toolTip = "Enter the initials of the person doing the rating (3 charcaters max.)",
     .captionCell = {1, 2},
     .editCell = {1, 3},
     .editAlignment = Qt::AlignLeft},
    {.id = Field::BatchID,
     .caption = "Batch ID:",
     .toolTip = "Enter the BARS Batch ID number (optional)",
     .captionCell = {2, 0},
     .editCell = {2, 1}},
    {.id = Field::Comments,
     .caption = "Comments:",
     .toolTip = "Additional comments to define the slab.",
     .captionCell = {2, 2},
     .editCell = {2, 3},
     .width = FieldWidth::Wide},
    {.id = Field::Hwy,
     .caption = "Highway Number:",
     .toolTip = "Enter the highway number.",
     .captionCell = {3, 0},
     .editCell = {3, 1}},
    {.id = Field::Bitum,
     .caption = "Bituminous Overlay (in):",
     .toolTip = "Enter the average asphalt thickness. ",
     .captionCell = {5, 1, 2},
     .editCell = {5, 3},
     .editAlignment = Qt::AlignLeft},
    {.id = Field::EffSpan,
     .caption = "Effective Span (ft):",
     .toolTip = "Enter the effective span length.",
     .captionCell = {8, 0},
     .editCell = {8, 1}},
    {.id = Field::SlabThick,
     .caption = "Actual Slab Thickness (in.):",
     .toolTip = "Enter the actual slab thickness.",
     .captionCell = {8, 2},
     .editCell = {8, 3},
     .editAlignment = Qt::AlignLeft},
    {.id = Field::StAreaTop,
     .caption = "Top:",
     .toolTip = "Enter the area of the top reinforcing steel over the girders.",
     .grid = FormGrid::Steel,
     .captionCell = {1, 0},
     .editCell = {1, 1}},
    {.id = Field::StDistTop,
     .toolTip = "Enter the distance from the bottom of the slab to the centerline of the top "
                "reinforceing steel.",
     .grid = FormGrid::Steel,
     .editCell = {1, 2}},
    {.id = Field::STAreaBot,
     .caption = "Bottom:",
     .toolTip = "Enter the area of the bottom reinforcing midpoint between the girders.",
     .grid = FormGrid::Steel,
     .captionCell = {2, 0},
     .editCell = {2, 1}},
    {.id = Field::StDistBot,
     .toolTip = "Enter the distance from the bottom of the slab to the centerline of the "
                "reinforcing steel taken at a midpoint of the girders.",
     .grid = FormGrid::Steel,
     .editCell = {2, 2}},
    {.id = Field::Concfc,
     .caption = "Concrete f'c (PSI):",
     .toolTip = "Enter the value of the concrete strength.",
     .captionCell = {14, 0},
     .editCell = {14, 1},
     .captionAlignment = Qt::AlignLeft | Qt::AlignVCenter},
    {.id = Field::SteelFy,
     .caption = "Steel Fy (PSI):",
     .toolTip = "Enter the value of the steel yeild stress.",
     .captionCell = {14, 2},
     .editCell = {14, 3},
     .editAlignment = Qt::AlignLeft},
    {.id = Field::ModRatio,
     .caption = "Modular Ratio (Leave blank for load factor):",
     .captionCell = {16, 0, 3},
     .editCell = {16, 3},
     .editAlignment = Qt::AlignLeft,
     .width = FieldWidth::TwoDigits},
}};

/// The load-type list: its caption, its place and the field after which the Tab key visits
/// it.
struct LoadTypeListPlace {
    const char* caption;  ///< Latin-1
    GridCell captionCell;
    GridCell listCell;
    Field after;
};
inline constexpr LoadTypeListPlace kLoadTypeList{"Load Type:", {3, 2}, {3, 3}, Field::Hwy};

/// How a text between the fields looks.
enum class FormTextStyle {
    Heading,  ///< bold: a group of fields
    Plain,    ///< a column's title or a hint beside a field
    Note,     ///< bold and wrapped to its cell, from its top left corner
};

/// A text between the fields.
struct FormText {
    const char* text;  ///< Latin-1
    FormTextStyle style;
    FormGrid grid;
    GridCell cell;
};

/// The texts between the fields.
inline constexpr auto kFormTexts = std::to_array<FormText>({
    {"Structure Information", FormTextStyle::Heading, FormGrid::Form, {0, 0, kFormColumns}},
    {"Deadload", FormTextStyle::Heading, FormGrid::Form, {5, 0}},
    {"Geometry", FormTextStyle::Heading, FormGrid::Form, {7, 0, kFormColumns}},
    {"Reinforcing Steel:", FormTextStyle::Heading, FormGrid::Form, {10, 0, kFormColumns}},
    {"Area (sqin)", FormTextStyle::Plain, FormGrid::Steel, {0, 1}},
    {"Distance (in)", FormTextStyle::Plain, FormGrid::Steel, {0, 2}},
    {"For definitions of input values please refer to the KARV Bridge Rating Manual in the "
     "Bridge Decks section",
     FormTextStyle::Note,
     FormGrid::Form,
     {11, 2, 2}},
    {"Materials Properties", FormTextStyle::Heading, FormGrid::Form, {13, 0, kFormColumns}},
    {"or   Inv Fc (Working Stress)", FormTextStyle::Plain, FormGrid::Form, {15, 1, 2}},
    {"or  Inv Fs (Working Stress)", FormTextStyle::Plain, FormGrid::Form, {15, 3}},
});

/// The form's rows that hold a rule across the grid between two groups of fields.
inline constexpr auto kFormRuleRows = std::to_array({4, 6, 9, 12});

/// Where the reinforcing steel's table sits in the form's grid.
inline constexpr GridCell kSteelTableCell{11, 0, 2};

}  // namespace slabrating::ui
