#pragma once
// The fifteen fields of a rating, described once: whoever needs "all fields" (the rating
// run, the input-file codec, the command line, the windows, the fuzz target) loops over
// this table.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/fields.h"
#include "engine/rules.h"

namespace slabrating {

/// The fifteen fields, in the record's order (the order of `SlabFields`).
enum class Field : std::size_t {
    StructNo,
    Rater,
    Hwy,
    BatchID,
    Comments,
    Bitum,
    EffSpan,
    SlabThick,
    StAreaTop,
    StDistTop,
    STAreaBot,
    StDistBot,
    Concfc,
    SteelFy,
    ModRatio,
};
inline constexpr std::size_t kFieldCount = 15;

/// A descriptive text or a number.
enum class FieldKind { Text, Number };

/// A range of columns of the input file's line.
struct FileColumns {
    std::size_t offset;  ///< characters before the first one (column 1 has offset 0)
    std::size_t width;   ///< number of columns
};

/// Everything the program knows about one field.
struct FieldInfo {
    Field id;
    std::string_view name;  ///< "EffSpan": the member's name, the `--set` name, the widget's name
    std::string SlabFields::*text;  ///< the text as typed
    FieldKind kind;
    std::string_view label;  ///< "Effective Span": names the field in messages
    /// What the field holds, in the manual's words: "effective span length".
    std::string_view description;
    std::string_view unit =
        {};  ///< of a number: "in", "ft", "sq in" (per ft of width), "psi"; else ""
    FileColumns
        columns;         ///< where the input file keeps it; a text's width is also its report width
    int scalePower = 0;  ///< a number's columns keep value x 10^scalePower as a whole number
    /// A number's symbol in the calculation sheet's formulas, in HTML: "A<sub>s,top</sub>";
    /// empty for a text.
    std::string_view symbol = {};
    std::size_t typedLimit = 0;  ///< most characters the window's field takes; 0 for no limit
    /// The rating run's message when the text is not numeric; empty when the run does not
    /// test the field (the texts, and the modular ratio, which then counts as 0).
    std::string_view notNumericMessage = {};
    /// The reader's message when the columns are not numeric; empty when the reader takes
    /// the columns as they stand (the texts, and the modular ratio).
    std::string_view readMessage = {};
    std::string SlabInput::*heldText = nullptr;  ///< a text's fixed-length form in the run
    float SlabInput::*heldNumber = nullptr;      ///< a number's single-precision value in the run
};

/// The fields in the record's order, which is also the order in which the rating run
/// tests the numbers and the order of the `--set` names in the usage text.
inline constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {.id = Field::StructNo,
     .name = "StructNo",
     .text = &SlabFields::StructNo,
     .kind = FieldKind::Text,
     .label = "Structure Number",
     .description = "structure number",
     .columns = {1, 7},
     .typedLimit = 7,
     .heldText = &SlabInput::StructNo},
    {.id = Field::Rater,
     .name = "Rater",
     .text = &SlabFields::Rater,
     .kind = FieldKind::Text,
     .label = "Rater",
     .description = "initials of the person doing the rating",
     .columns = {8, 3},
     .typedLimit = 3,
     .heldText = &SlabInput::Rater},
    {.id = Field::Hwy,
     .name = "Hwy",
     .text = &SlabFields::Hwy,
     .kind = FieldKind::Text,
     .label = "Highway Number",
     .description = "state highway number",
     .columns = {11, 3},
     .typedLimit = 3,
     .heldText = &SlabInput::Hwy},
    {.id = Field::BatchID,
     .name = "BatchID",
     .text = &SlabFields::BatchID,
     .kind = FieldKind::Text,
     .label = "Batch ID",
     .description = "batch identifier, optional",
     .columns = {14, 6},
     .typedLimit = 6,
     .heldText = &SlabInput::BatchID},
    {.id = Field::Comments,
     .name = "Comments",
     .text = &SlabFields::Comments,
     .kind = FieldKind::Text,
     .label = "Comments",
     .description = "description of the slab",
     .columns = {20, 21},
     .typedLimit = 21,
     .heldText = &SlabInput::Comments},
    {.id = Field::Bitum,
     .name = "Bitum",
     .text = &SlabFields::Bitum,
     .kind = FieldKind::Number,
     .label = "Bituminous Overlay",
     .description = "average bituminous overlay thickness",
     .unit = "in",
     .columns = {59, 4},
     .scalePower = 2,
     .symbol = "b",
     .notNumericMessage = "Error: Bituminous Overlay value not numeric.",
     .readMessage = "Error: Bituminous Overlay value incorrect.",
     .heldNumber = &SlabInput::Bitum},
    {.id = Field::EffSpan,
     .name = "EffSpan",
     .text = &SlabFields::EffSpan,
     .kind = FieldKind::Number,
     .label = "Effective Span",
     .description = "effective span length",
     .unit = "ft",
     .columns = {41, 5},
     .scalePower = 3,
     .symbol = "S",
     .notNumericMessage = "Error: Effective Span value not numeric.",
     .readMessage = "Error: Effective Span value incorrect.",
     .heldNumber = &SlabInput::EffSpan},
    {.id = Field::SlabThick,
     .name = "SlabThick",
     .text = &SlabFields::SlabThick,
     .kind = FieldKind::Number,
     .label = "Slab Thickness",
     .description = "actual slab thickness",
     .unit = "in",
     .columns = {46, 5},
     .scalePower = 3,
     .symbol = "h",
     .notNumericMessage = "Error: Slab Thickness value not numeric.",
     .readMessage = "Error: Slab Thickness value incorrect.",
     .heldNumber = &SlabInput::SlabThick},
    {.id = Field::StAreaTop,
     .name = "StAreaTop",
     .text = &SlabFields::StAreaTop,
     .kind = FieldKind::Number,
     .label = "Steel Top Area",
     .description = "area of the top reinforcement over the girders in the strip",
     .unit = "sq in",
     .columns = {56, 3},
     .scalePower = 2,
     .symbol = "A<sub>s,top</sub>",
     .notNumericMessage = "Error: Steel area (top) value not numeric.",
     .readMessage = "Error: Steel Top Area value incorrect.",
     .heldNumber = &SlabInput::StAreaTop},
    {.id = Field::StDistTop,
     .name = "StDistTop",
     .text = &SlabFields::StDistTop,
     .kind = FieldKind::Number,
     .label = "Steel Top Distance",
     .description = "distance from the bottom of the slab to the top reinforcement",
     .unit = "in",
     .columns = {51, 5},
     .scalePower = 3,
     .symbol = "d<sub>top</sub>",
     .notNumericMessage = "Error: Steel Distance (top) value not numeric.",
     .readMessage = "Error: Steel Top Distance value incorrect.",
     .heldNumber = &SlabInput::StDistTop},
    {.id = Field::STAreaBot,
     .name = "STAreaBot",
     .text = &SlabFields::STAreaBot,
     .kind = FieldKind::Number,
     .label = "Steel Bottom Area",
     .description = "area of the bottom reinforcement between the girders in the strip",
     .unit = "sq in",
     .columns = {77, 3},
     .scalePower = 2,
     .symbol = "A<sub>s,bot</sub>",
     .notNumericMessage = "Error: Steel Area (bottom) value not numeric.",
     .readMessage = "Error: Steel Bottom Area value incorrect.",
     .heldNumber = &SlabInput::STAreaBot},
    {.id = Field::StDistBot,
     .name = "StDistBot",
     .text = &SlabFields::StDistBot,
     .kind = FieldKind::Number,
     .label = "Steel Bottom Distance",
     .description = "distance from the bottom of the slab to the bottom reinforcement",
     .unit = "in",
     .columns = {74, 3},
     .scalePower = 2,
     .symbol = "d&prime;",
     .notNumericMessage = "Error: Steel Distance (bottom) value not numeric.",
     .readMessage = "Error: Steel Bottom Distance value incorrect.",
     .heldNumber = &SlabInput::StDistBot},
    {.id = Field::Concfc,
     .name = "Concfc",
     .text = &SlabFields::Concfc,
     .kind = FieldKind::Number,
     .label = "Concrete Fc",
     .description = "f'c (load factor) or the allowable concrete stress Fc (working stress)",
     .unit = "psi",
     .columns = {63, 4},
     .symbol = "f&prime;<sub>c</sub> / F<sub>c,inv</sub>",
     .notNumericMessage = "Error: Concrete fc value not numeric.",
     .readMessage = "Error: Conrete Fc value incorrect.",
     .heldNumber = &SlabInput::Concfc},
    {.id = Field::SteelFy,
     .name = "SteelFy",
     .text = &SlabFields::SteelFy,
     .kind = FieldKind::Number,
     .label = "Steel Fy",
     .description = "Fy (load factor) or the allowable steel stress Fs (working stress)",
     .unit = "psi",
     .columns = {67, 5},
     .symbol = "F<sub>y</sub> / F<sub>s,inv</sub>",
     .notNumericMessage = "Error: Steel Fy value not numeric.",
     .readMessage = "Error: Steel Fy value incorrect.",
     .heldNumber = &SlabInput::SteelFy},
    {.id = Field::ModRatio,
     .name = "ModRatio",
     .text = &SlabFields::ModRatio,
     .kind = FieldKind::Number,
     .label = "Modular Ratio",
     .description = "modular ratio n; blank or not above 0 selects the load factor method",
     .columns = {72, 2},
     .symbol = "n",
     .typedLimit = 2,
     .heldNumber = &SlabInput::ModRatio},
}};

/// The fields in the input file's column order, which is also the order in which the
/// reader reads them and reports their messages.
inline constexpr std::array<Field, kFieldCount> kFileOrder{
    Field::StructNo, Field::Rater,     Field::Hwy,       Field::BatchID,   Field::Comments,
    Field::EffSpan,  Field::SlabThick, Field::StDistTop, Field::StAreaTop, Field::Bitum,
    Field::Concfc,   Field::SteelFy,   Field::ModRatio,  Field::StDistBot, Field::STAreaBot,
};

/// Which side of its limit a range check keeps a number on.
enum class RangeBound { AtLeast, AtMost };

/// One range check of the rating run, made after every number has read as a number.
struct RangeCheck {
    Field field;
    RangeBound bound;
    float limit;               ///< in the field's unit
    std::string_view message;  ///< the run's message when the check fails

    /// True when `value` (in the field's unit) is on the check's side of its limit; a value
    /// that is not a number never is.
    constexpr bool holds(float value) const {
        return bound == RangeBound::AtLeast ? value >= limit : value <= limit;
    }
};

/// The range checks in the order the run makes them; its message names the last that fails.
inline constexpr std::array<RangeCheck, 6> kRangeChecks{{
    {Field::StDistTop, RangeBound::AtLeast, rules::kMinSteelValue,
     " Error: Slab thickness less than .1"},
    {Field::StAreaTop, RangeBound::AtLeast, rules::kMinSteelValue,
     " Error: Area of steel less than .1"},
    {Field::StDistBot, RangeBound::AtLeast, rules::kMinSteelValue,
     " Error: Extreme fiber to bottom reinforcement distance less than .1"},
    {Field::STAreaBot, RangeBound::AtLeast, rules::kMinSteelValue,
     " Error: Area of bottom reinforcement less than .1"},
    {Field::EffSpan, RangeBound::AtLeast, rules::kMinSpan, " Error: Span length less than 2."},
    {Field::EffSpan, RangeBound::AtMost, rules::kMaxSpan, " Error: Span length greater than 24."},
}};

/// The load type (the selection of `List1`): its `--set` name and its file column, which
/// holds "1" (state trucks), "2" (Interstate trucks) or "0" (nothing selected).
inline constexpr std::string_view kLoadTypeName = "LoadType";
inline constexpr FileColumns kLoadTypeColumns{0, 1};

/// Characters of the input file's record, before its CR LF.
inline constexpr std::size_t kRecordWidth = 80;

/// The description of one field.
constexpr const FieldInfo& fieldInfo(Field field) {
    return kFields[static_cast<std::size_t>(field)];
}

/// The field with the name `name` ("EffSpan"); nullptr when no field has it.
constexpr const FieldInfo* fieldNamed(std::string_view name) {
    for (const FieldInfo& field : kFields) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

namespace detail {

constexpr bool tableIsConsistent() {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const FieldInfo& f = kFields[i];
        const bool text = f.kind == FieldKind::Text;
        if (f.id != static_cast<Field>(i) || text != (f.heldText != nullptr) ||
            text == (f.heldNumber != nullptr)) {
            return false;
        }
    }
    // The columns follow each other from the load type's to the end of the record.
    std::size_t next = kLoadTypeColumns.offset + kLoadTypeColumns.width;
    for (Field id : kFileOrder) {
        if (fieldInfo(id).columns.offset != next) {
            return false;
        }
        next += fieldInfo(id).columns.width;
    }
    return next == kRecordWidth;
}
static_assert(tableIsConsistent(), "the field table and its file order disagree");

}  // namespace detail

}  // namespace slabrating
