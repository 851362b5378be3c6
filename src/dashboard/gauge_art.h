#pragma once

// Dial artwork of the dashboard's three gauges. The same code draws the still
// faces that ship as pictures and the needle frames the dashboard shows at run
// time, so the two can never drift apart. Nothing here is cached: callers that
// show many frames keep their own copies.

#include <QImage>
#include <QRect>
#include <QSize>

namespace kvrns::dashboard {

enum class GaugeKind { Power, Efficiency, Temperature };

// Size of every face and frame.
inline constexpr QSize kGaugeSize{237, 139};

// The calm, dark readout well in the lower middle of every dial, in frame
// coordinates. The large digit readouts belong inside it; the needle and the
// scale never reach into it.
inline constexpr QRect kGaugeReadoutArea{72, 84, 94, 52};

// Lowest and highest scale position a frame can show (power and temperature
// 0..120, efficiency 75..99; the efficiency scale itself is printed to 100).
int gaugeFirstValue(GaugeKind kind);
int gaugeLastValue(GaugeKind kind);

// The dial face with its scale, no needle: power 0..120 (% of rated power),
// efficiency 75..100 (%), temperature 0..120 (°C).
QImage gaugeFace(GaugeKind kind);

// Frame for a scale position: the face with the needle at `value`; values
// outside gaugeFirstValue..gaugeLastValue are clamped.
QImage gaugeFrame(GaugeKind kind, int value);

}  // namespace kvrns::dashboard
