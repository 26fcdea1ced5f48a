// A short series of the soak: whole updates, each under a random fault,
// each failure answered Yes and retried on a healthy device. Every run must
// end in at most one dialog, leave the device with its old version or the
// whole update, keep its serial number, and release the port.
#include <gtest/gtest.h>

#include <sstream>

#include "soak/soak.h"

namespace {

TEST(SoakTest, UpdatesUnderRandomFaultsEndCleanlyAndRetriesSucceed) {
  kst_soak::Soak soak(20261211);
  soak.Run(60);

  std::ostringstream report;
  soak.Report(report);
  EXPECT_TRUE(soak.tally().problems.empty()) << report.str();
  for (std::size_t kind = 0; kind < kst_soak::kFaultKinds; ++kind) {
    EXPECT_GT(soak.tally().faults[kind], 0U)
        << kst_soak::FaultName(static_cast<kst_soak::FaultKind>(kind)) << " never drawn";
  }
}

}  // namespace
