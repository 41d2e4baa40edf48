#include "Unit_DispersionReport.h"

#include "Unit_Functions.h"

#include <cmath>
#include <cstdio>

namespace zm {

namespace {

std::string Num(double v, int decimals = 1) {
    return std::isfinite(v) ? FormatFixed(v, decimals) : "0";
}

std::string Percent(int part, int whole) {
    return whole > 0 ? Num(100.0 * part / whole, 1) + " %" : "-";
}

std::string Interval(const TRadius& r) {
    return "[" + (r.Low ? Num(*r.Low, 0) : std::string("-")) + ", " +
           (r.High ? Num(*r.High, 0) : std::string("-")) + "]";
}

// The major axis as an azimuth, clockwise from north, 0..180.
double MajorAzimuth(const TMissileDispersion& m) {
    const double az = std::fmod(double(m.LaunchAzimuth) + m.Stats.MajorAngle, 180.0);
    return az < 0 ? az + 180 : az;
}

std::string Side(double v, const char* positive, const char* negative) {
    return Num(std::fabs(v), 0) + " m " + (v >= 0 ? positive : negative);
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string JsonNumber(double v, int decimals = 3) {
    return std::isfinite(v) ? FormatFixed(v, decimals) : "null";
}
std::string JsonOptional(const std::optional<double>& v) {
    return v ? JsonNumber(*v) : "null";
}

std::string JsonRadius(const TRadius& r) {
    return "{\"value\": " + JsonNumber(r.Value) + ", \"low\": " + JsonOptional(r.Low) +
           ", \"high\": " + JsonOptional(r.High) + "}";
}

std::string JsonCounts(const std::map<std::string, int>& counts, int runs) {
    std::string s = "{";
    for (const auto& [name, n] : counts) {
        if (s.size() > 1) s += ", ";
        s += JsonString(name) + ": {\"flights\": " + std::to_string(n) +
             ", \"share\": " + JsonNumber(runs > 0 ? double(n) / runs : 0, 4) + "}";
    }
    return s + "}";
}

} // namespace

std::string JsonString(const std::string& text) {
    std::string s = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\')
            s += '\\', s += char(c);
        else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            s += buf;
        } else
            s += char(c);
    }
    return s + "\"";
}

std::string DispersionTable(const TDispersion& d) {
    std::string t = "Dispersion of " + d.Plan + ": " + std::to_string(d.RunsFlown) + " runs flown of " +
                    std::to_string(d.RunsPlanned) + " (seed " + std::to_string(d.Seed) + ")";
    t += d.RunsFailed.empty() ? "\n" : ", " + std::to_string(d.RunsFailed.size()) + " gave no result\n";
    t += "Impact figures over the flights without a failure, in metres along and across the launch azimuth.\n"
         "Radii about the mean point of impact (precision) and about the target (accuracy), with "
         "95 % intervals.\n"
         "Ellipses: 1, 2 and 3 sigma hold 68.3, 95.4 and 99.7 % of a normal distribution.\n";
    for (const TMissileDispersion& m : d.Missiles) {
        const TDispersionStats& s = m.Stats;
        t += "\n" + m.Missile + " to " + m.Target + "  (launch azimuth " + Num(double(m.LaunchAzimuth), 1) +
             " deg, range " + Num(double(m.PlannedRange), 0) + " m" +
             (m.Precise ? ", precise cut-off)\n" : ")\n");
        t += "  runs " + std::to_string(m.Runs) + ", reached the ground " + std::to_string(m.ReachedGround) +
             " (" + Percent(m.ReachedGround, m.Runs) + "), failures " + std::to_string(m.Failures()) + " (" +
             Percent(m.Failures(), m.Runs) + ")";
        t += m.Missing() > 0 ? ", no result " + std::to_string(m.Missing()) + "\n" : "\n";
        for (const auto& [kind, n] : m.FailuresByKind)
            t += "    " + kind + std::string(kind.size() < 24 ? 24 - kind.size() : 1, ' ') +
                 std::to_string(n) + "  " + Percent(n, m.Runs) + "\n";
        if (!m.FailuresByPhase.empty()) {
            t += "    by phase:";
            for (const auto& [phase, n] : m.FailuresByPhase)
                t += " " + phase + " " + std::to_string(n) + " (" + Percent(n, m.Runs) + ")";
            t += "\n";
        }
        if (s.Count == 0) {
            t += "  no flight without a failure\n";
            continue;
        }
        t += "  mean point of impact: " + Side(s.Mean.Along, "beyond", "short of") + ", " +
             Side(s.Mean.Across, "right", "left") + " of the target\n";
        t += "  standard deviation: " + Num(s.SdAlong, 0) + " m along, " + Num(s.SdAcross, 0) +
             " m across; correlation " + Num(s.Correlation, 2) + "\n";
        t += "  about the mean point:  CEP " + Num(s.CepMean.Value, 0) + " m " + Interval(s.CepMean) +
             ", R90 " + Num(s.R90Mean.Value, 0) + " m, R95 " + Num(s.R95Mean.Value, 0) + " m\n";
        t += "  about the target:      CEP " + Num(s.CepTarget.Value, 0) + " m " + Interval(s.CepTarget) +
             ", R90 " + Num(s.R90Target.Value, 0) + " m, R95 " + Num(s.R95Target.Value, 0) + " m\n";
        t += "  ellipses, major axis " + Num(s.MajorAngle, 1) + " deg right of the launch azimuth (azimuth " +
             Num(MajorAzimuth(m), 1) + " deg):";
        for (const TErrorEllipse& e : s.Ellipses)
            t +=
                " " + Num(e.Sigma, 0) + " sigma " + Num(e.SemiMajor, 0) + " x " + Num(e.SemiMinor, 0) + " m;";
        t.back() = '\n';
    }
    return t;
}

std::string DispersionCsv(const TDispersion& d) {
    std::string c =
        "missile,target,runs,reached ground,failures,failure share,mean along m,mean across m,"
        "sd along m,sd across m,correlation,CEP about mean m,CEP about mean low,CEP about mean high,"
        "R90 about mean m,R95 about mean m,CEP about target m,CEP about target low,"
        "CEP about target high,R90 about target m,R95 about target m,major axis deg from launch azimuth,"
        "major axis azimuth deg,1 sigma major m,1 sigma minor m,2 sigma major m,2 sigma minor m,"
        "3 sigma major m,3 sigma minor m\r\n";
    const auto opt = [](const std::optional<double>& v) { return v ? Num(*v, 1) : std::string(); };
    for (const TMissileDispersion& m : d.Missiles) {
        const TDispersionStats& s = m.Stats;
        c += CsvField(m.Missile) + "," + CsvField(m.Target) + "," + std::to_string(m.Runs) + "," +
             std::to_string(m.ReachedGround) + "," + std::to_string(m.Failures()) + "," +
             Num(m.Runs > 0 ? double(m.Failures()) / m.Runs : 0, 4) + "," + Num(s.Mean.Along) + "," +
             Num(s.Mean.Across) + "," + Num(s.SdAlong) + "," + Num(s.SdAcross) + "," + Num(s.Correlation, 3) +
             "," + Num(s.CepMean.Value) + "," + opt(s.CepMean.Low) + "," + opt(s.CepMean.High) + "," +
             Num(s.R90Mean.Value) + "," + Num(s.R95Mean.Value) + "," + Num(s.CepTarget.Value) + "," +
             opt(s.CepTarget.Low) + "," + opt(s.CepTarget.High) + "," + Num(s.R90Target.Value) + "," +
             Num(s.R95Target.Value) + "," + Num(s.MajorAngle, 2) + "," + Num(MajorAzimuth(m), 2);
        for (const TErrorEllipse& e : s.Ellipses)
            c += "," + Num(e.SemiMajor) + "," + Num(e.SemiMinor);
        c += "\r\n";
    }
    return c;
}

std::string DispersionImpactsCsv(const TDispersion& d) {
    std::string c = "missile,run,failure,phase,reached ground,latitude,longitude,along m,across m\r\n";
    for (const TMissileDispersion& m : d.Missiles)
        for (const TDispersionImpact& i : m.Impacts)
            c += CsvField(m.Missile) + "," + std::to_string(i.Run) + "," + CsvField(i.Outcome.Kind) + "," +
                 i.Outcome.Phase + "," + (i.Outcome.ReachedGround ? "yes" : "no") + "," +
                 FormatFixed(i.Latitude, 7) + "," + FormatFixed(i.Longitude, 7) + "," + Num(i.Offset.Along) +
                 "," + Num(i.Offset.Across) + "\r\n";
    return c;
}

std::string DispersionJson(const TDispersion& d) {
    std::string j = "{\n  \"plan\": " + JsonString(d.Plan) + ",\n  \"seed\": " + std::to_string(d.Seed) +
                    ",\n  \"runs_planned\": " + std::to_string(d.RunsPlanned) +
                    ",\n  \"runs_flown\": " + std::to_string(d.RunsFlown) + ",\n  \"runs_without_result\": [";
    for (size_t i = 0; i < d.RunsFailed.size(); ++i)
        j += (i ? ", " : "") + std::to_string(d.RunsFailed[i]);
    j += "],\n  \"frame\": \"metres from the target: along the launch azimuth (beyond positive), across it "
         "(right "
         "positive)\",\n  \"statistics_over\": \"the flights without a failure\",\n  \"ellipse_convention\": "
         "\"k-sigma ellipses hold the share of a 2-D normal distribution "
         "that k sigma holds in 1-D (chi-square, 2 degrees of freedom)\",\n  \"confidence\": " +
         JsonNumber(RadiusConfidence, 2) + ",\n  \"missiles\": [";
    // The cut-off is named for every missile once a plan uses the precise one; other plans' files stay as
    // they always were.
    const bool namePrecise = d.AnyPrecise();
    for (size_t mi = 0; mi < d.Missiles.size(); ++mi) {
        const TMissileDispersion& m = d.Missiles[mi];
        const TDispersionStats& s = m.Stats;
        j += std::string(mi ? "," : "") + "\n    {\n      \"missile\": " + JsonString(m.Missile) +
             ",\n      \"target\": " + JsonString(m.Target) +
             ",\n      \"launch\": {\"latitude\": " + JsonNumber(double(m.LaunchLatitude), 9) +
             ", \"longitude\": " + JsonNumber(double(m.LaunchLongitude), 9) +
             "},\n      \"target_position\": {\"latitude\": " + JsonNumber(double(m.TargetLatitude), 9) +
             ", \"longitude\": " + JsonNumber(double(m.TargetLongitude), 9) +
             "},\n      \"launch_azimuth\": " + JsonNumber(double(m.LaunchAzimuth), 4) +
             ",\n      \"planned_range\": " + JsonNumber(double(m.PlannedRange), 1) +
             (namePrecise ? std::string(",\n      \"precise_cut_off\": ") + (m.Precise ? "true" : "false")
                          : "") +
             ",\n      \"runs\": " + std::to_string(m.Runs) +
             ",\n      \"runs_without_result\": " + std::to_string(m.Missing()) +
             ",\n      \"reached_ground\": " + std::to_string(m.ReachedGround) +
             ",\n      \"failures\": " + std::to_string(m.Failures()) +
             ",\n      \"failures_by_kind\": " + JsonCounts(m.FailuresByKind, m.Runs) +
             ",\n      \"failures_by_phase\": " + JsonCounts(m.FailuresByPhase, m.Runs) +
             ",\n      \"statistics\": {\n        \"flights\": " + std::to_string(s.Count) +
             ",\n        \"mean_point\": {\"along\": " + JsonNumber(s.Mean.Along) +
             ", \"across\": " + JsonNumber(s.Mean.Across) +
             "},\n        \"sd_along\": " + JsonNumber(s.SdAlong) +
             ",\n        \"sd_across\": " + JsonNumber(s.SdAcross) +
             ",\n        \"correlation\": " + JsonNumber(s.Correlation, 4) +
             ",\n        \"about_mean_point\": {\"cep\": " + JsonRadius(s.CepMean) +
             ", \"r90\": " + JsonRadius(s.R90Mean) + ", \"r95\": " + JsonRadius(s.R95Mean) +
             "},\n        \"about_target\": {\"cep\": " + JsonRadius(s.CepTarget) +
             ", \"r90\": " + JsonRadius(s.R90Target) + ", \"r95\": " + JsonRadius(s.R95Target) +
             "},\n        \"sigma_major\": " + JsonNumber(s.SigmaMajor) +
             ",\n        \"sigma_minor\": " + JsonNumber(s.SigmaMinor) +
             ",\n        \"major_axis_from_launch_azimuth\": " + JsonNumber(s.MajorAngle, 3) +
             ",\n        \"major_axis_azimuth\": " + JsonNumber(MajorAzimuth(m), 3) +
             ",\n        \"ellipses\": [";
        for (size_t k = 0; k < s.Ellipses.size(); ++k) {
            const TErrorEllipse& e = s.Ellipses[k];
            j += std::string(k ? ", " : "") + "{\"sigma\": " + std::to_string(int(e.Sigma)) +
                 ", \"share\": " + JsonNumber(e.Share, 5) + ", \"scale\": " + JsonNumber(e.Scale, 4) +
                 ", \"semi_major\": " + JsonNumber(e.SemiMajor) +
                 ", \"semi_minor\": " + JsonNumber(e.SemiMinor) + "}";
        }
        j += "]\n      },\n      \"impacts\": [";
        for (size_t i = 0; i < m.Impacts.size(); ++i) {
            const TDispersionImpact& p = m.Impacts[i];
            j += std::string(i ? "," : "") + "\n        {\"run\": " + std::to_string(p.Run) +
                 ", \"failure\": " + JsonString(p.Outcome.Kind) +
                 ", \"phase\": " + JsonString(p.Outcome.Phase) +
                 ", \"reached_ground\": " + (p.Outcome.ReachedGround ? "true" : "false") +
                 ", \"latitude\": " + JsonNumber(double(p.Latitude), 9) +
                 ", \"longitude\": " + JsonNumber(double(p.Longitude), 9) +
                 ", \"along\": " + JsonNumber(p.Offset.Along) +
                 ", \"across\": " + JsonNumber(p.Offset.Across) + "}";
        }
        j += m.Impacts.empty() ? "]\n    }" : "\n      ]\n    }";
    }
    j += d.Missiles.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return j;
}

} // namespace zm
