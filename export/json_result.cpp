#include "export/json_result.h"

#include <charconv>
#include <system_error>

#include "engine/field_table.h"
#include "engine/version.h"
#include "export/text.h"

namespace slabrating {

namespace {

using json = nlohmann::ordered_json;

// A single-precision value as the shortest decimal that reads back to that float; held in
// a double, whose own shortest text is that same decimal.
double singleValue(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    std::from_chars(text, written.ptr, shortest);
    return shortest;
}

// One object of quantities, each key carrying its unit; float members keep the float's
// shortest text, double members the double's.
class Quantities {
public:
    Quantities& add(const char* key, float value) {
        m_object[key] = singleValue(value);
        return *this;
    }
    Quantities& add(const char* key, double value) {
        m_object[key] = value;
        return *this;
    }
    Quantities& add(const char* key, int value) {
        m_object[key] = value;
        return *this;
    }
    Quantities& add(const char* key, bool value) {
        m_object[key] = value;
        return *this;
    }
    Quantities& add(const char* key, json value) {
        m_object[key] = std::move(value);
        return *this;
    }
    json take() { return std::move(m_object); }

private:
    json m_object = json::object();
};

json inputJson(const SlabInput& in) {
    Quantities q;
    for (const FieldInfo& field : kFields) {
        if (field.kind == FieldKind::Text) {
            q.add(field.name.data(), json(latin1ToUtf8(in.*field.heldText)));
        }
    }
    return q.add("LoadType", in.LoadType)
        .add("Bitum_in", in.Bitum)
        .add("EffSpan_ft", in.EffSpan)
        .add("SlabThick_in", in.SlabThick)
        .add("StAreaTop_sqin", in.StAreaTop)
        .add("StDistTop_in", in.StDistTop)
        .add("STAreaBot_sqin", in.STAreaBot)
        .add("StDistBot_in", in.StDistBot)
        .add("Concfc_psi", in.Concfc)
        .add("SteelFy_psi", in.SteelFy)
        .add("ModRatio", in.ModRatio)
        .take();
}

json sectionJson(const SectionQuantities& s) {
    return Quantities()
        .add("A", s.A)
        .add("B", s.B)
        .add("BPrime", s.BPrime)
        .add("P", s.P)
        .add("Q", s.Q)
        .add("k", s.k)
        .add("c", s.c)
        .add("zr", s.zr)
        .add("j", s.j)
        .add("e", s.e)
        .add("u", s.u)
        .add("r", s.r)
        .take();
}

template <typename Pass>
json passJson(const Pass& pass) {
    return Quantities()
        .add("section", sectionJson(pass.section))
        .add("CompSteelFactor", pass.CompSteelFactor)
        .add("AdjustCount", pass.AdjustCount)
        .add("ResistingMoment_lbft", pass.ResistingMoment)
        .add("ConcreteStress_psi", pass.ConcreteStress)
        .add("SteelStress_psi", pass.SteelStress)
        .add("CompSteelStress_psi", pass.CompSteelStress)
        .take();
}

json levelJson(const LevelRating& level) {
    return Quantities()
        .add("MemberCapacity_kipft", level.MemberCapacity)
        .add("LiveLoadCapacity_kipft", level.LiveLoadCapacity)
        .add("ratingFactor", level.ratingFactor)
        .add("RatingTons_tons", level.RatingTons)
        .take();
}

json hs20Json(const Hs20Rating& hs20) {
    const Hs20Inventory& inv = hs20.inventory;
    Quantities inventory;
    inventory.add("ConcreteStress_psi", inv.ConcreteStress)
        .add("SteelStress_psi", inv.SteelStress)
        .add("CompSteelStress_psi", inv.CompSteelStress)
        .add("MemberCapacity_kipft", inv.MemberCapacity)
        .add("LiveLoadCapacity_kipft", inv.LiveLoadCapacity)
        .add("RatingFactor", inv.RatingFactor)
        .add("RatingTons_tons", inv.RatingTons);
    const Hs20Operating& op = hs20.operating;
    return {{"inventory", inventory.take()},
            {"operating", Quantities()
                              .add("ConcreteStress_psi", op.ConcreteStress)
                              .add("SteelStress_psi", op.SteelStress)
                              .add("CompSteelStress_psi", op.CompSteelStress)
                              .add("MemberCapacity_kipft", op.MemberCapacity)
                              .add("LiveLoadCapacity_kipft", op.LiveLoadCapacity)
                              .add("RatingFactor", op.RatingFactor)
                              .add("RatingTons_tons", op.RatingTons)
                              .take()}};
}

json legalTrucksJson(const LegalTruckRatings& legal, const Moments& moments) {
    const bool state = legal.series == TruckSeries::State;
    json trucks = json::array();
    for (const LegalTruck& truck : legal.trucks) {
        trucks.push_back(Quantities()
                             .add("type", json(std::string(truck.type)))
                             .add("grossTons_tons", truck.grossTons)
                             .add("RatingFactor", truck.RatingFactor)
                             .add("RatingTons_tons", truck.RatingTons)
                             .take());
    }
    Quantities q;
    q.add("series", json(state ? "state" : "interstate"))
        .add("title", json(state ? "Brevania Trucks" : "Interstate Trucks"))
        .add("wheelKips_kips", legal.wheelKips);
    // The state series' moment is held in double precision, the Interstate one in single.
    if (state) {
        q.add("TruckMoment_kipft", moments.stateTruckMoment);
    } else {
        q.add("TruckMoment_kipft", moments.interstateTruckMoment);
    }
    return q.add("trucks", std::move(trucks)).take();
}

json ratingJson(const Rating& r) {
    Quantities q;
    if (r.input) {
        q.add("input", inputJson(*r.input));
    }
    if (const auto& in = r.loadFactorInput) {
        q.add("loadFactorInput", Quantities()
                                     .add("span_ft", in->span)
                                     .add("thickness_in", in->thickness)
                                     .add("areaTop_sqin", in->areaTop)
                                     .add("distTop_in", in->distTop)
                                     .add("areaBot_sqin", in->areaBot)
                                     .add("distBot_in", in->distBot)
                                     .add("fc_psi", in->fc)
                                     .add("fy_psi", in->fy)
                                     .take());
    }
    if (const auto& a = r.inventoryAllowables) {
        q.add("inventoryAllowables", Quantities()
                                         .add("InvConcStress_psi", a->InvConcStress)
                                         .add("InvSteelStress_psi", a->InvSteelStress)
                                         .take());
    }
    if (const auto& t = r.thicknessCheck) {
        q.add("thicknessCheck", Quantities()
                                    .add("MinThickness_ft", t->MinThickness)
                                    .add("thicknessFt_ft", t->thicknessFt)
                                    .add("warning", t->warning)
                                    .take());
    }
    if (r.derivedModularRatio) {
        q.add("derivedModularRatio", *r.derivedModularRatio);
    }
    if (const auto& u = r.ultimateCapacity) {
        q.add("ultimateCapacity", Quantities()
                                      .add("Beta1", u->Beta1)
                                      .add("aTop_in", u->aTop)
                                      .add("aBot_in", u->aBot)
                                      .add("leverTop_sqin", u->leverTop)
                                      .add("leverBot_sqin", u->leverBot)
                                      .add("UltimateCapacity_lbft", u->UltimateCapacity)
                                      .take());
    }
    if (const auto& o = r.operatingAllowables) {
        q.add("operatingAllowables", Quantities()
                                         .add("OperConcStress_psi", o->OperConcStress)
                                         .add("OperSteelStress_psi", o->OperSteelStress)
                                         .take());
    }
    if (const auto& s = r.sectionInput) {
        q.add("sectionInput", Quantities()
                                  .add("n", s->n)
                                  .add("InvConcStress_psi", s->InvConcStress)
                                  .add("InvSteelStress_psi", s->InvSteelStress)
                                  .add("OperConcStress_psi", s->OperConcStress)
                                  .add("OperSteelStress_psi", s->OperSteelStress)
                                  .add("areaTop_sqin", s->areaTop)
                                  .add("d_in", s->d)
                                  .add("areaBot_sqin", s->areaBot)
                                  .add("dPrime_in", s->dPrime)
                                  .take());
    }
    if (r.inventoryPass) {
        q.add("inventoryPass", passJson(*r.inventoryPass));
    }
    if (r.operatingPass) {
        q.add("operatingPass", passJson(*r.operatingPass));
    }
    if (const auto& m = r.moments) {
        Quantities moments;
        moments.add("w_lbperft", m->w)
            .add("M_DL_lbft", m->M_DL)
            .add("M_LL_lbft", m->M_LL)
            .add("stateTruckMoment_kipft", m->stateTruckMoment);
        // The Interstate moment is formed only when the state series is not selected.
        if (!r.input || r.input->LoadType != StateTrucks) {
            moments.add("interstateTruckMoment_kipft", m->interstateTruckMoment);
        }
        q.add("moments", moments.take());
    }
    if (r.workingStressInventory) {
        q.add("workingStressInventory", levelJson(*r.workingStressInventory));
    }
    if (r.workingStressOperating) {
        q.add("workingStressOperating", levelJson(*r.workingStressOperating));
    }
    if (const auto& m = r.reportMoments) {
        q.add("reportMoments", Quantities()
                                   .add("DeadLoadMoment_kipft", m->DeadLoadMoment)
                                   .add("LiveLoadMoment_kipft", m->LiveLoadMoment)
                                   .take());
    }
    if (const auto& lf = r.loadFactorRating) {
        q.add("loadFactorRating", Quantities()
                                      .add("MemberCapacity_kipft", lf->MemberCapacity)
                                      .add("LiveLoadCapacity_kipft", lf->LiveLoadCapacity)
                                      .add("RatingFactor", lf->RatingFactor)
                                      .add("inventoryRatingFactor", lf->inventoryRatingFactor)
                                      .add("inventoryTons_tons", lf->inventoryTons)
                                      .add("operatingTons_tons", lf->operatingTons)
                                      .take());
    }
    if (const auto& s = r.stressScales) {
        q.add("stressScales", Quantities()
                                  .add("StressScaleInv", s->StressScaleInv)
                                  .add("StressScaleOper", s->StressScaleOper)
                                  .take());
    }
    if (r.hs20) {
        q.add("hs20", hs20Json(*r.hs20));
    }
    if (r.legalTrucks && r.moments) {
        q.add("legalTrucks", legalTrucksJson(*r.legalTrucks, *r.moments));
    }
    return q.take();
}

json methodJson(const RatedSlab& slab) {
    if (slab.result == nullptr || !slab.result->rating.method) {
        return nullptr;
    }
    return *slab.result->rating.method == RatingMethod::LoadFactor ? "load factor"
                                                                   : "working stress";
}

}  // namespace

json slabJson(const RatedSlab& slab) {
    json fields = json::object();
    for (const FieldInfo& field : kFields) {
        fields[std::string(field.name)] = latin1ToUtf8(slab.fields.*field.text);
    }
    fields[std::string(kLoadTypeName)] = slab.fields.LoadType;

    json result = json::object();
    result["schemaVersion"] = kJsonSchemaVersion;
    result["program"] = "slabrating";
    result["programVersion"] = std::string(kVersionNumber);
    result["file"] = slab.file.empty() ? json(nullptr) : json(fileNameToUtf8(slab.file));
    result["date"] =
        slab.result != nullptr ? json(latin1ToUtf8(slab.result->rating.date)) : json(nullptr);
    result["fields"] = std::move(fields);
    result["outcome"] = std::string(outcomeName(slab.outcome));
    result["message"] = latin1ToUtf8(slab.message);
    result["method"] = methodJson(slab);
    result["rating"] = slab.result != nullptr ? ratingJson(slab.result->rating) : json::object();
    result["report"] =
        slab.result != nullptr ? json(latin1ToUtf8(slab.result->report)) : json(nullptr);
    return result;
}

std::string slabJsonText(const RatedSlab& slab) {
    // Invalid UTF-8 cannot arise (every text is converted from Latin-1); replace guards anyway.
    return slabJson(slab).dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace slabrating
