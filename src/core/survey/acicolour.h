// The screen colour of an AutoCAD colour index, as CAD programs show it on a white ground: the nine
// standard colours, the 240 shades from 10 to 249 (24 hues, each in five brightnesses, strong and
// pale) and the six greys from 250. Index 7 (white on a dark ground, black on a light one) is black.
#ifndef SURVEY_ACICOLOUR_H
#define SURVEY_ACICOLOUR_H

struct AciRgb {
    int red = 0, green = 0, blue = 0;
};

// Out of 1 to 255: black.
AciRgb aci_colour(int index);

#endif // SURVEY_ACICOLOUR_H
