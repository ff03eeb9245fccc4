#pragma once
// Internal to the engine: the working stress section analysis. Other layers read its
// results in engine/rating.h.

#include "engine/rating.h"

namespace slabrating {

/// Operating allowable stresses chosen from the inventory ones (psi).
OperatingAllowables operatingAllowables(float InvConcStress, float InvSteelStress);

/// The service-load analysis of the cracked transformed section, run as two passes: the
/// inventory pass first, then (after the caller has used the inventory results) the
/// operating pass, which continues from the state the inventory pass left.
class WorkingStressAnalysis {
public:
    explicit WorkingStressAnalysis(const WorkingStressInput& in);

    InventoryPass inventoryPass();
    OperatingPass operatingPass();

private:
    void analyseSection();
    Governing governing() const {
        return m_concreteGoverns ? Governing::Concrete : Governing::Steel;
    }
    void runPass();

    const WorkingStressInput m_in;
    bool m_operating = false;         // the operating pass: its allowable stresses are in force
    double m_CompSteelFactor;         // m, transformed factor of the compression steel
    double m_m0;                      // 2n - 1, from which every adjustment starts
    int m_AdjustCount = 0;            // compression steel adjustments made in this pass
    float m_Fc;                       // allowable concrete stress of the pass (psi)
    float m_Fs;                       // tension steel stress (psi): the allowable, lowered when the
                                      // concrete governs
    double m_fsRef;                   // allowable steel stress of the pass, the compression steel's
                                      // limit (psi)
    double m_fcA = 0;                 // extreme fibre concrete stress (psi)
    double m_fsc = 0;                 // compression steel stress (psi)
    double m_ResistingMoment = 0;     // lb-ft per ft of width
    bool m_concreteGoverns = false;   // the concrete's allowable limits the pass
    bool m_compSteelChecked = false;  // fsc was checked with the pass's last section
    bool m_sectionReused = false;     // the operating pass started from the inventory section
    SectionQuantities m_section{};    // the last section analysed
};

}  // namespace slabrating
