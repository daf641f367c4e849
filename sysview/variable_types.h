// The variable-star types a Magnitudes row can name.
#pragma once

namespace vldr {

// Returns the name of the variable-star type with this code and sets
// generalClass to its class; returns null (and sets null) for an unknown code.
const char* describeVariableType(const char* code, const char*& generalClass);

}  // namespace vldr
