#pragma once

namespace slabrating {

/// Operating allowable stresses chosen from the inventory ones (psi, exact table values).
struct OperatingAllowables {
    double OperConcStress;   ///< operating allowable concrete stress (psi)
    double OperSteelStress;  ///< operating allowable steel stress (psi)
};
OperatingAllowables operatingAllowables(float InvConcStress, float InvSteelStress);

/// Inputs of the cracked transformed section analysis of the one-foot strip.
struct WorkingStressInput {
    float n;                 ///< modular ratio
    float InvConcStress;     ///< inventory allowable concrete stress (psi)
    float InvSteelStress;    ///< inventory allowable steel stress (psi)
    double OperConcStress;   ///< operating allowable concrete stress (psi)
    double OperSteelStress;  ///< operating allowable steel stress (psi)
    float areaTop;           ///< tension (top) steel area As,top (sq in per ft)
    float d;                 ///< compression face to tension steel, effective depth (in)
    float areaBot;           ///< compression (bottom) steel area As,bot (sq in per ft)
    float dPrime;            ///< compression face to compression steel d' (in)
};

/// Results of the inventory pass (stresses as stored for the report).
struct InventoryPass {
    double ResistingMoment;  ///< lb-ft per ft of width
    float ConcreteStress;    ///< extreme fibre concrete stress (psi)
    float SteelStress;       ///< tension steel stress (psi)
    float CompSteelStress;   ///< compression steel stress (psi)
    double k;                ///< neutral axis depth over d, last section analysed
    double j;                ///< lever arm over d, last section analysed
    int AdjustCount;         ///< compression steel adjustments made in the pass
};

/// Results of the operating pass.
struct OperatingPass {
    double ResistingMoment;  ///< lb-ft per ft of width
    double ConcreteStress;   ///< psi
    float SteelStress;       ///< psi
    double CompSteelStress;  ///< psi
    int AdjustCount;
};

/// The service-load analysis, run as two passes: the inventory pass first, then (after
/// the caller has used the inventory results) the operating pass, which continues from
/// the state the inventory pass left.
class WorkingStressAnalysis {
public:
    explicit WorkingStressAnalysis(const WorkingStressInput& in);

    InventoryPass inventoryPass();
    OperatingPass operatingPass();

    /// Compression steel adjustments at which a pass stops adjusting when the
    /// steel governs and the factor does not settle.
    static constexpr int kMaxAdjustments = 1000;

private:
    void analyseSection();
    void runPass();

    const WorkingStressInput m_in;
    bool m_operating = false;
    double m_CompSteelFactor;  // m
    double m_m0;               // 2n - 1
    int m_AdjustCount = 0;
    float m_Fc;
    float m_Fs;
    double m_fsRef;
    double m_fcA = 0;
    double m_fsc = 0;
    double m_ResistingMoment = 0;
    // Section quantities of the last analysis.
    double m_k = 0, m_j = 0, m_e = 0, m_u = 0, m_r = 0;
};

}  // namespace slabrating
