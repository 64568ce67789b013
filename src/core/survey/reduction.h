// A measured point reduced from its station's setup and its own observations: the polar
// computation from the horizontal angle, the zenith angle and the distance, with the Earth's curvature
// and refraction as an option. Nothing is made up: what cannot be computed comes back with its reason.
#ifndef REDUCTION_H
#define REDUCTION_H

#include "survey/surveyrows.h"

#include <optional>

namespace survey
{

// With the curvature on, from X = SD·cos z and Y = SD·sin z (the usual instrument reduction):
//   HD = Y − X·Y·(1 − k/2)/R        VD = X + Y²·(1 − k)/(2R)
// (a recorded HD taken as it is: VD = HD·cot z + HD²·(1 − k)/(2R)). R is the equatorial radius to the
// kilometre; instruments that reduce with 6370 km differ by 0.1 % of the correction (over 1 km the
// height term is 67 mm, the difference 0.1 mm).
struct ReductionOptions {
    bool curvature = false;
    double refraction = 0.142; // k
    double earth_radius = 6378000.0;
};

// Heights to use in place of the recorded ones (a recompute).
struct HeightChanges {
    std::optional<double> reflector;
    std::optional<double> instrument;
};

struct Reduction {
    Reason problem;          // set: nothing was computed
    Reason height_problem;   // set: N and E were computed, Z was not
    bool from_slope = false; // HD and VD from the slope distance (else from the recorded HD)
    double horizontal = 0;   // horizontal distance
    double vertical = 0;     // vertical component, instrument axis to reflector (SD·cos z, curvature added)
    double azimuth = 0;      // radians, [0, 2π)
    double n = 0;
    double e = 0;
    double z = 0;
    double instrument_height = 0; // the heights Z was computed with
    double reflector_height = 0;
    bool ok() const { return problem.none(); }
    bool has_height() const { return ok() && height_problem.none(); }
};

// The point of a measured-point row `cells` from `setup` (null: no station before it).
//  - Horizontal angle and zenith angle as seven digits (with or without marks). A zenith angle over
//    180° is a face-II reading: the line is the one of 360° − z, its direction the horizontal angle + 180°.
//    A zenith of 0° or 180° gives no direction.
//  - The slope distance gives HD and VD; without one the recorded HD is used. A distance of 0 is none
//    (the instrument records 0 when it measured none); a negative one is refused.
//  - Azimuth = horizontal angle + the setup's orientation; N = Ns + HD·cos(azimuth), E = Es + HD·sin(azimuth).
//  - Z = Zs + instrument height + VD − reflector height; the instrument height is the point's own, else
//    its station's.
Reduction reduce_point(const Setup* setup, const QStringList& cells, const ReductionOptions& options = {},
                       const HeightChanges& heights = {});

} // namespace survey

#endif // REDUCTION_H
