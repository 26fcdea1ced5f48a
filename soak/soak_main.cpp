// kst90-soak: a long series of whole updates under random faults, in
// virtual time. Prints the counts; exits 1 when any run broke an expectation.
#include <cstdlib>
#include <iostream>
#include <string>

#include "soak/soak.h"

namespace {

int Usage() {
  std::cerr << "usage: kst90-soak [--runs N] [--seed S]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t runs = 1000;
  std::uint64_t seed = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    char* end = nullptr;
    const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0') return Usage();
    if (option == "--runs")
      runs = static_cast<std::size_t>(number);
    else if (option == "--seed")
      seed = number;
    else
      return Usage();
  }
  kst_soak::Soak soak(seed);
  soak.Run(runs);
  soak.Report(std::cout);
  return soak.tally().problems.empty() ? 0 : 1;
}
