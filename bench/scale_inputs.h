// Generators of the scale benchmark's inputs: for each kind, a document of
// n units (attributes, rules, declarations, references, tiles, bytes).
#ifndef BENCH_SCALE_INPUTS_H
#define BENCH_SCALE_INPUTS_H

#include <string>
#include <vector>

namespace bench {

struct ScaleInput {
    const char* name;  // the row's name
    const char* unit;  // what n counts
    std::string (*make)(long long n);
    // The same drawing without what n counts (null for rows whose unit is
    // the whole document): the bytes a unit costs are the difference of the
    // two peaks over n.
    std::string (*base)(long long n) = nullptr;
};

// Every row, in the order the table prints them.
const std::vector<ScaleInput>& ScaleInputs();

}  // namespace bench

#endif  // BENCH_SCALE_INPUTS_H
