#pragma once
// The parameter list of a service request and its form-encoded body.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// (key, value) pairs of UTF-8 text, in the order of the body.
using RequestParameters = std::vector<std::pair<std::string, std::string>>;

// application/x-www-form-urlencoded, byte by byte: a blank becomes "+", letters, digits and
// "-_.~" stay, every other byte becomes "%" and two upper-case hexadecimal digits.
std::string FormUrlEncode(const std::string& text);
// Every pair as key=value followed by "&", the last one too.
std::string BuildFormBody(const RequestParameters& parameters);
// Appends the pair unless a pair with that key (byte for byte) is there already.
void AddParameterIfMissing(RequestParameters& parameters, const std::string& key, const std::string& value);
// Two lower-case hexadecimal digits per byte.
std::string BytesToHex(const std::string& bytes);
// Leading and trailing white space (iswspace) removed.
void TrimWhiteSpace(std::wstring& text);
