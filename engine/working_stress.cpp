#include "engine/working_stress.h"

#include "engine/checked.h"

namespace slabrating {

OperatingAllowables operatingAllowables(float InvConcStress, float InvSteelStress) {
    // In a working stress run the inventory concrete stress is taken as 0.4 f'c.
    const Real fc = Real(2.5) * InvConcStress;
    double conc = 3000;
    if (fc <= Real(3000)) {
        conc = 1300;
    } else if (fc <= Real(3999.9)) {
        conc = 1900;
    } else if (fc <= Real(4999.9)) {
        conc = 2400;
    }
    double steel = 36000;
    if (InvSteelStress < 20000.0f) {
        steel = 25000;
    } else if (InvSteelStress < 24000.0f) {
        steel = 28000;
    }
    return {conc, steel};
}

WorkingStressAnalysis::WorkingStressAnalysis(const WorkingStressInput& in)
    : m_in(in),
      m_CompSteelFactor((Real(2) * in.n - 1).value()),
      m_m0(m_CompSteelFactor),
      m_Fc(in.InvConcStress),
      m_Fs(in.InvSteelStress),
      m_fsRef(in.InvSteelStress) {}

void WorkingStressAnalysis::analyseSection() {
    const Real n = m_in.n;
    const Real d = m_in.d;
    const Real dPrime = m_in.dPrime;
    const Real A = n * m_in.areaTop / (Real(12) * d);                        // n rho
    const Real B = Real(m_CompSteelFactor) * m_in.areaBot / (Real(12) * d);  // m rho'
    const Real BPrime = B * dPrime / d;
    const Real P = A + B;
    const Real Q = A + BPrime;
    const Real k = sqrt(P * P + Real(2) * Q) - P;
    const Real c = Real(1) - dPrime / (k * d);
    // Depth of the resultant compression over kd; 0.1667 stands for 1/6 as the
    // rating manual rounds it.
    const Real zr = (Real(0.1667) + BPrime * c / (k * k)) / (Real(0.5) + B * c / k);
    m_k = k.value();
    m_j = (Real(1) - k * zr).value();
    m_e = (k - toSingle(dPrime / d)).value();
    m_u = (Real(1) - k).value();
    m_r = (k / (n * m_u)).value();
}

void WorkingStressAnalysis::runPass() {
    enum class Step { Section, StressCheck, CompressionSteel, Moment };
    Step step = Step::Section;
    if (m_operating && m_CompSteelFactor == m_m0) {
        // The section of the inventory pass is the one with m = 2n - 1: reuse it.
        step = Step::StressCheck;
    }
    m_CompSteelFactor = m_m0;
    const bool noCompressionSteel = m_in.areaBot == 0.0f;
    for (;;) {
        switch (step) {
            case Step::Section:
                analyseSection();
                step = Step::StressCheck;
                break;
            case Step::StressCheck:
                m_fcA = (Real(m_Fs) * m_r).value();
                if (m_fcA > m_Fc) {  // the concrete governs
                    m_fcA = m_Fc;
                    m_Fs = toSingle(Real(m_Fc) / m_r);
                    step = noCompressionSteel || m_AdjustCount == 2 ? Step::Moment
                                                                    : Step::CompressionSteel;
                } else {
                    step = noCompressionSteel ? Step::Moment : Step::CompressionSteel;
                }
                break;
            case Step::CompressionSteel: {
                m_fsc = (Real(2) * m_Fs * m_e / m_u).value();
                step = Step::Moment;
                if (m_fsc > m_fsRef) {
                    // The compression steel would pass its allowable: reduce its transformed
                    // factor, always from 2n - 1, and analyse the section again. A factor
                    // that no longer changes, or too many rounds, ends the adjusting.
                    const double reduced = (Real(m_m0) * (Real(m_fsRef) / m_fsc)).value();
                    if (reduced != m_CompSteelFactor && m_AdjustCount < kMaxAdjustments) {
                        m_CompSteelFactor = reduced;
                        ++m_AdjustCount;
                        m_Fs = toSingle(m_fsRef);
                        step = Step::Section;
                    }
                }
                break;
            }
            case Step::Moment:
                m_ResistingMoment =
                    (Real(toSingle(Real(m_in.areaTop) * m_Fs)) * m_j * m_in.d / 12).value();
                return;
        }
    }
}

InventoryPass WorkingStressAnalysis::inventoryPass() {
    runPass();
    InventoryPass result{m_ResistingMoment, toSingle(m_fcA), m_Fs, toSingle(m_fsc), m_k, m_j,
                         m_AdjustCount};
    m_AdjustCount = 0;
    m_operating = true;
    m_fsRef = m_in.OperSteelStress;
    m_Fs = toSingle(m_in.OperSteelStress);
    m_Fc = toSingle(m_in.OperConcStress);
    return result;
}

OperatingPass WorkingStressAnalysis::operatingPass() {
    runPass();
    return {m_ResistingMoment, m_fcA, m_Fs, m_fsc, m_AdjustCount};
}

}  // namespace slabrating
