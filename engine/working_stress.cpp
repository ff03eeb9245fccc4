#include "engine/working_stress.h"

#include "engine/checked.h"

namespace slabrating {

namespace {

// A working stress run's inventory concrete stress is taken as 0.4 f'c: f'c = 2.5 Fc.
constexpr double kFcPerInventoryStress = 2.5;

// The operating allowable stresses of the rating manual's tables (psi): the concrete by
// f'c band, the steel by inventory steel stress band.
constexpr double kFcBand1 = 3000, kFcBand2 = 3999.9, kFcBand3 = 4999.9;
constexpr double kOperConc1 = 1300, kOperConc2 = 1900, kOperConc3 = 2400, kOperConc4 = 3000;
constexpr float kFsBand1 = 20000.0f, kFsBand2 = 24000.0f;
constexpr double kOperSteel1 = 25000, kOperSteel2 = 28000, kOperSteel3 = 36000;

constexpr int kStripWidthIn = 12;   // the one-foot strip (in)
constexpr int kInchesPerFoot = 12;  // lb-in to lb-ft

// Depth of the compression triangle's resultant over kd: 1/6 as the rating manual
// rounds it.
constexpr double kOneSixth = 0.1667;

}  // namespace

OperatingAllowables operatingAllowables(float InvConcStress, float InvSteelStress) {
    const Real fc = Real(kFcPerInventoryStress) * InvConcStress;
    double conc = kOperConc4;
    if (fc <= Real(kFcBand1)) {
        conc = kOperConc1;
    } else if (fc <= Real(kFcBand2)) {
        conc = kOperConc2;
    } else if (fc <= Real(kFcBand3)) {
        conc = kOperConc3;
    }
    double steel = kOperSteel3;
    if (InvSteelStress < kFsBand1) {
        steel = kOperSteel1;
    } else if (InvSteelStress < kFsBand2) {
        steel = kOperSteel2;
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
    if (!m_operating || m_CompSteelFactor != m_m0) {
        m_CompSteelFactor = m_m0;
        analyseSection();
    }
    const bool compressionSteel = m_in.areaBot != 0.0f;
    for (;;) {
        // The tension steel at its stress, unless that over-stresses the concrete.
        m_fcA = (Real(m_Fs) * m_section.r).value();
        const bool concreteGoverns = m_fcA > m_Fc;
        if (concreteGoverns) {
            m_fcA = m_Fc;
            m_Fs = toSingle(Real(m_Fc) / m_section.r);
        }
        if (!compressionSteel ||
            (concreteGoverns && m_AdjustCount == kConcreteGovernedAdjustments)) {
            break;
        }
        m_fsc = (Real(2) * m_Fs * m_section.e / m_section.u).value();
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
                         toSingle(m_fsc)};
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
    return {m_section, m_CompSteelFactor, m_AdjustCount, m_ResistingMoment, m_fcA, m_Fs, m_fsc};
}

}  // namespace slabrating
