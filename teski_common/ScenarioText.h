// The add-on's scenario text, shared by both plug-ins (their keys are matched by KeyGrammar.h): locale-
// independent number reading and writing, bounded copies into fixed text fields, and the track line.
// Reading never fails loudly: a value that cannot be read is reported as such and the caller keeps its field.
#pragma once

#include <cstddef>

bool IsBlank(char c);
const char* SkipBlanks(const char* p);

// Number readers that advance p past the number: leading blanks skipped, decimal notation, one leading '+'
// accepted as in C. They return false and leave value and p untouched when no number starts there; reals
// must be finite.
bool ParseReal(const char*& p, double& value);
bool ParseInt(const char*& p, int& value);

// The same for a whole text.
bool ReadReal(const char* text, double& value);
bool ReadInt(const char* text, int& value);
// n reals (n <= 8) separated by blanks, all or nothing.
bool ReadReals(const char* text, double* values, int n);
// Largest sizes the missile takes for angles in radians and for distances in metres. Larger values, finite as
// they are, overflow what is derived from them (the wreck's degrees, the guidance's squares): such a key is
// left unread like a value that cannot be read.
inline constexpr double MaxRadians = 1e6;
inline constexpr double MaxMetres = 1e12;
// Whether all n values are no larger than limit in size.
bool Within(const double* values, int n, double limit);
// One track line: index, longitude, latitude, height, phase; all or nothing.
bool ReadTrackPoint(const char* text, int& index, double& lon, double& lat, double& height, int& phase);

// Length of a text that may lack its terminator within max characters.
std::size_t BoundedLength(const char* text, std::size_t max);
// Copies at most length characters of src, cut to size - 1, and always terminates dest (size > 0).
void CopyBounded(char* dest, std::size_t size, const char* src, std::size_t length);
// Copies a whole text field into another, cutting what does not fit.
template <std::size_t N, std::size_t M> void CopyBounded(char (&dest)[N], const char (&src)[M]) {
    CopyBounded(dest, N, src, BoundedLength(src, M));
}

// The rest of the text without the blanks and line end around it (a name of several words stays whole),
// cut to size - 1 characters; false (dest untouched) when nothing is left.
bool ReadName(const char* text, char* dest, std::size_t size);
// The rest of the line, blanks inside included, without a trailing line end, cut to size - 1; false (dest
// untouched) when nothing is left.
bool ReadRest(const char* text, char* dest, std::size_t size);

// Room for any double in fixed notation with 13 decimals (up to 309 digits before the point).
inline constexpr std::size_t FixedNumberRoom = 340;
// Fixed notation with the given decimals ("%.13f"), into buf (always terminated; "0" if it does not fit).
void FormatFixed(double v, int decimals, char* buf, std::size_t size);
// The track line "%d %.13f %.13f %.13f %d".
void FormatTrackPoint(int index, double lon, double lat, double height, int phase, char* buf,
                      std::size_t size);
