#include "engine/working_stress.h"

#include "engine/checked.h"

namespace slabrating {

using namespace rules;

OperatingAllowables operatingAllowables(float InvConcStress, float InvSteelStress) {
    OperatingAllowables o{};
    const Real fc = Real(kFcPerInventoryStress) * InvConcStress;
    o.fc = fc.value();
    o.concBand = kOperConcLimits.size();
    for (std::size_t band = 0; band < kOperConcLimits.size(); ++band) {
        if (fc <= Real(kOperConcLimits[band])) {
            o.concBand = band;
            break;
        }
    }
    o.steelBand = kOperSteelLimits.size();
    for (std::size_t band = 0; band < kOperSteelLimits.size(); ++band) {
        if (InvSteelStress < kOperSteelLimits[band]) {
            o.steelBand = band;
            break;
        }
    }
    o.OperConcStress = kOperConcStresses[o.concBand];
    o.OperSteelStress = kOperSteelStresses[o.steelBand];
    return o;
}

WorkingStressAnalysis::WorkingStressAnalysis(const WorkingStressInput& in)
    : m_in(in),
      m_CompSteelFactor((Real(kCompSteelFactorOfN) * in.n - 1).value()),
      m_m0(m_CompSteelFactor),
      m_Fc(in.InvConcStress),
      m_Fs(in.InvSteelStress),
      m_fsRef(in.InvSteelStress) {}

void WorkingStressAnalysis::analyseSection() {
    const Real n = m_in.n;
    const Real d = m_in.d;
    const Real dPrime = m_in.dPrime;
    const Real A = n * m_in.areaTop / (Real(kStripWidthIn) * d);
    const Real B = Real(m_CompSteelFactor) * m_in.areaBot / (Real(kStripWidthIn) * d);
    const Real BPrime = B * dPrime / d;
    const Real P = A + B;
    const Real Q = A + BPrime;
    const Real k = sqrt(P * P + Real(2) * Q) - P;
    const Real c = Real(1) - dPrime / (k * d);
    const Real zr = (Real(kOneSixth) + BPrime * c / (k * k)) / (Real(0.5) + B * c / k);
    const Real j = Real(1) - k * zr;
    const Real e = k - toSingle(dPrime / d);  // d'/d is stored in single precision first
    const Real u = Real(1) - k;
    const Real r = k / (n * u);
    m_section = {A.value(), B.value(),  BPrime.value(), P.value(), Q.value(), k.value(),
                 c.value(), zr.value(), j.value(),      e.value(), u.value(), r.value()};
}

void WorkingStressAnalysis::runPass() {
    // Every pass starts from m = 2n - 1; an operating pass after an unadjusted inventory
    // pass has that section already.
    m_sectionReused = m_operating && m_CompSteelFactor == m_m0;
    if (!m_sectionReused) {
        m_CompSteelFactor = m_m0;
        analyseSection();
    }
    const bool compressionSteel = m_in.areaBot != 0.0f;
    for (;;) {
        // The tension steel at its stress, unless that over-stresses the concrete.
        m_fcA = (Real(m_Fs) * m_section.r).value();
        m_concreteGoverns = m_fcA > m_Fc;
        if (m_concreteGoverns) {
            m_fcA = m_Fc;
            m_Fs = toSingle(Real(m_Fc) / m_section.r);
        }
        m_compSteelChecked = false;
        if (!compressionSteel ||
            (m_concreteGoverns && m_AdjustCount == kConcreteGovernedAdjustments)) {
            break;
        }
        m_fsc = (Real(kCompSteelFactorOfN) * m_Fs * m_section.e / m_section.u).value();
        m_compSteelChecked = true;
        if (!(m_fsc > m_fsRef)) {
            break;
        }
        // The compression steel would pass its allowable: reduce its transformed factor,
        // always from 2n - 1, and analyse the section again, until the factor settles.
        const double reduced = (Real(m_m0) * (Real(m_fsRef) / m_fsc)).value();
        if (reduced == m_CompSteelFactor || m_AdjustCount >= kMaxAdjustments) {
            break;
        }
        m_CompSteelFactor = reduced;
        ++m_AdjustCount;
        m_Fs = toSingle(m_fsRef);
        analyseSection();
    }
    m_ResistingMoment =
        (Real(toSingle(Real(m_in.areaTop) * m_Fs)) * m_section.j * m_in.d / kInchesPerFoot).value();
}

InventoryPass WorkingStressAnalysis::inventoryPass() {
    runPass();
    // The inventory stresses are stored in single precision for the report.
    InventoryPass result{m_section,         m_CompSteelFactor, m_AdjustCount,
                         m_ResistingMoment, toSingle(m_fcA),   m_Fs,
                         toSingle(m_fsc),   governing(),       m_compSteelChecked};
    m_AdjustCount = 0;
    m_operating = true;
    m_fsRef = m_in.OperSteelStress;
    m_Fs = toSingle(m_in.OperSteelStress);
    m_Fc = toSingle(m_in.OperConcStress);
    return result;
}

OperatingPass WorkingStressAnalysis::operatingPass() {
    runPass();
    // The operating concrete and compression steel stresses stay in double precision, as
    // the pass computed them; the tension steel stress is the pass's single-precision Fs.
    return {m_section,
            m_sectionReused && m_AdjustCount == 0,
            m_CompSteelFactor,
            m_AdjustCount,
            m_ResistingMoment,
            m_fcA,
            m_Fs,
            m_fsc,
            governing(),
            m_compSteelChecked};
}

}  // namespace slabrating
