#pragma once

namespace scenario {

// The last two points of the plan while it is drawn: (x0, y0) one metre back,
// (x1, y1) the latest. avanza() computes the next point from them, turning the
// direction of the last step by the curvature k (0 for a straight point; k > 0 turns
// clockwise):
//   x = x1 + dx + k dy,  y = y1 + dy - k dx,  with dx = x1 - x0, dy = y1 - y0.
// The operations run left to right as written, so every build draws the same doubles;
// this is the one place the formula lives.
struct passo_disegno {
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;

    void avanza(double k) {
        if (k == 0.0) {
            retto(x0, y0, x1, y1);
        } else {
            in_curva(x0, y0, x1, y1, k);
        }
    }

    // The step on four plain doubles, for loops that test k once and keep the points
    // in registers: retto is avanza(0.0), in_curva is avanza(k) for k != 0.
    static void retto(double& x0, double& y0, double& x1, double& y1) {
        const double x = x1 + (x1 - x0);
        const double y = y1 + (y1 - y0);
        x0 = x1;
        y0 = y1;
        x1 = x;
        y1 = y;
    }
    static void in_curva(double& x0, double& y0, double& x1, double& y1, double k) {
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        const double x = x1 + dx + k * dy;
        const double y = y1 + dy - k * dx;
        x0 = x1;
        y0 = y1;
        x1 = x;
        y1 = y;
    }
};

}  // namespace scenario
