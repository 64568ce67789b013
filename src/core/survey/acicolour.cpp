// AutoCAD colour indices as screen colours.
#include "survey/acicolour.h"

#include <cmath>

namespace
{

AciRgb from_hsv(double hue, double saturation, double value)
{
    const double c = value * saturation;
    const double h = hue / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (int(h) % 6) {
    case 0:
        r = c, g = x;
        break;
    case 1:
        r = x, g = c;
        break;
    case 2:
        g = c, b = x;
        break;
    case 3:
        g = x, b = c;
        break;
    case 4:
        r = x, b = c;
        break;
    default:
        r = c, b = x;
        break;
    }
    const double m = value - c;
    const auto byte = [m](double part) { return int(std::lround((part + m) * 255)); };
    return {byte(r), byte(g), byte(b)};
}

} // namespace

AciRgb aci_colour(int index)
{
    static const AciRgb kStandard[] = {{255, 0, 0},   {255, 255, 0}, {0, 255, 0},     {0, 255, 255},  {0, 0, 255},
                                       {255, 0, 255}, {0, 0, 0},     {128, 128, 128}, {192, 192, 192}};
    static const int kGreys[] = {51, 91, 132, 173, 214, 255};
    if (index >= 1 && index <= 9)
        return kStandard[index - 1];
    if (index >= 10 && index <= 249) {
        // Ten shades per hue: pairs of a strong and a pale colour, each pair darker than the one before.
        static const double kValues[] = {1.0, 0.8, 0.6, 0.5, 0.3};
        const int shade = index % 10;
        return from_hsv((index / 10 - 1) * 15.0, shade % 2 == 0 ? 1.0 : 0.5, kValues[shade / 2]);
    }
    if (index >= 250 && index <= 255)
        return {kGreys[index - 250], kGreys[index - 250], kGreys[index - 250]};
    return {};
}
