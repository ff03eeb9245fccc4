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

    /// Compression steel adjustments at which a pass stops adjusting when the steel
    /// governs and the factor does not settle.
    static constexpr int kMaxAdjustments = 1000;
    /// Compression steel adjustments after which a concrete-governed pass keeps its factor.
    static constexpr int kConcreteGovernedAdjustments = 2;

private:
    void analyseSection();
    void runPass();

    const WorkingStressInput m_in;
    bool m_operating = false;       // the operating pass: its allowable stresses are in force
    double m_CompSteelFactor;       // m, transformed factor of the compression steel
    double m_m0;                    // 2n - 1, from which every adjustment starts
    int m_AdjustCount = 0;          // compression steel adjustments made in this pass
    float m_Fc;                     // allowable concrete stress of the pass (psi)
    float m_Fs;                     // tension steel stress (psi): the allowable, lowered when the
                                    // concrete governs
    double m_fsRef;                 // allowable steel stress of the pass, the compression steel's
                                    // limit (psi)
    double m_fcA = 0;               // extreme fibre concrete stress (psi)
    double m_fsc = 0;               // compression steel stress (psi)
    double m_ResistingMoment = 0;   // lb-ft per ft of width
    SectionQuantities m_section{};  // the last section analysed
};

}  // namespace slabrating
