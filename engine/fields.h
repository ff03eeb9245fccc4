#pragma once

#include <string>

#include "engine/load_type.h"

namespace slabrating {

/// The main window's inputs of one rating, as the user typed them: fifteen field
/// texts (single-byte Latin-1 text) and the load-type selection. The rating run
/// and the input file work on this record; the window turns its widgets into one.
struct SlabFields {
    std::string StructNo;   ///< structure number (text, 7 characters in the report)
    std::string Rater;      ///< rater's initials (text, 3)
    std::string Hwy;        ///< state highway number (text, 3)
    std::string BatchID;    ///< batch identifier (text, 6)
    std::string Comments;   ///< description of the slab (text, 21)
    std::string Bitum;      ///< bituminous overlay thickness (in)
    std::string EffSpan;    ///< effective span (ft)
    std::string SlabThick;  ///< slab thickness (in)
    std::string StAreaTop;  ///< top steel area (sq in per ft)
    std::string StDistTop;  ///< bottom face to top steel centre (in)
    std::string STAreaBot;  ///< bottom steel area (sq in per ft)
    std::string StDistBot;  ///< bottom face to bottom steel centre (in)
    std::string Concfc;     ///< f'c (load factor) or inventory Fc (working stress) (psi)
    std::string SteelFy;    ///< Fy (load factor) or inventory Fs (working stress) (psi)
    std::string ModRatio;   ///< modular ratio; blank, zero or negative selects load factor
    slabrating::LoadType LoadType = slabrating::LoadType::None;  ///< selection of `List1`

    bool operator==(const SlabFields&) const = default;
};

/// The inputs of one rating run as the run holds them: the five texts cut or padded to
/// their fixed lengths, the load type, and the ten numbers in single precision, as entered.
struct SlabInput {
    std::string StructNo;  ///< structure number, 7 characters
    std::string Rater;     ///< rater's initials, 3 characters
    std::string Hwy;       ///< state highway number, 3 characters
    std::string BatchID;   ///< batch identifier, 6 characters
    std::string Comments;  ///< description of the slab, 21 characters
    slabrating::LoadType LoadType = slabrating::LoadType::None;  ///< selection of `List1`
    float Bitum = 0;      ///< bituminous overlay thickness (in)
    float EffSpan = 0;    ///< effective span (ft)
    float SlabThick = 0;  ///< slab thickness (in)
    float StAreaTop = 0;  ///< top steel area (sq in per ft)
    float StDistTop = 0;  ///< bottom face to top steel centre, the effective depth (in)
    float STAreaBot = 0;  ///< bottom steel area (sq in per ft)
    float StDistBot = 0;  ///< bottom face to bottom steel centre (in)
    float Concfc = 0;     ///< f'c (load factor) or inventory allowable Fc (working stress) (psi)
    float SteelFy = 0;    ///< Fy (load factor) or inventory allowable Fs (working stress) (psi)
    float ModRatio = 0;   ///< modular ratio; 0 when blank or not numeric
};

}  // namespace slabrating
