#pragma once

#include <string>

namespace slabrating {

/// Load-type selection of the list `List1`.
enum LoadTypeSelection : int {
    NoLoadType = 0,   ///< nothing selected
    StateTrucks = 1,  ///< first entry, "1=Brevania"
    Interstate = 2,   ///< second entry, "2=Interstate"
};

/// The main window's inputs of one rating, as the user typed them: fifteen field
/// texts (single-byte Latin-1 text) and the load-type selection. The rating run
/// and the input file work on this record; the window turns its widgets into one.
struct SlabFields {
    std::string StructNo;       ///< structure number (text, 7 characters in the report)
    std::string Rater;          ///< rater's initials (text, 3)
    std::string Hwy;            ///< state highway number (text, 3)
    std::string BatchID;        ///< batch identifier (text, 6)
    std::string Comments;       ///< description of the slab (text, 21)
    std::string Bitum;          ///< bituminous overlay thickness (in)
    std::string EffSpan;        ///< effective span (ft)
    std::string SlabThick;      ///< slab thickness (in)
    std::string StAreaTop;      ///< top steel area (sq in per ft)
    std::string StDistTop;      ///< bottom face to top steel centre (in)
    std::string STAreaBot;      ///< bottom steel area (sq in per ft)
    std::string StDistBot;      ///< bottom face to bottom steel centre (in)
    std::string Concfc;         ///< f'c (load factor) or inventory Fc (working stress) (psi)
    std::string SteelFy;        ///< Fy (load factor) or inventory Fs (working stress) (psi)
    std::string ModRatio;       ///< modular ratio; blank, zero or negative selects load factor
    int LoadType = NoLoadType;  ///< selection of `List1` (LoadTypeSelection)

    bool operator==(const SlabFields&) const = default;
};

}  // namespace slabrating
