// Choosing the instruction set by name: every name this build knows either
// runs or says the processor lacks it, and an unknown name is refused with
// the list of the names that would do.
#include "sim/isa.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

TEST(Isa, NamesAreCheckedAgainstThisBuildsSets) {
  std::string error;
  for (const isa_level isa : built_isas()) {
    error.clear();
    const bool ok = select_isa_from(isa_name(isa), error);
    EXPECT_EQ(ok, isa_supported(isa)) << isa_name(isa);
    if (ok) EXPECT_EQ(selected_isa(), isa);
    else EXPECT_NE(error.find("does not have"), std::string::npos) << error;
  }
  ASSERT_FALSE(built_isas().empty());
  EXPECT_EQ(built_isas()[0], isa_level::baseline);

  error.clear();
  EXPECT_FALSE(select_isa_from("sse9", error));
  std::string names;
  for (const isa_level isa : built_isas()) names += std::string(names.empty() ? "" : ", ") + isa_name(isa);
  EXPECT_EQ(error, "VORN_ISA='sse9' is not one of " + names);

  // A name of another architecture's set is unknown here.
#if !defined(__x86_64__)
  error.clear();
  EXPECT_FALSE(select_isa_from("avx2", error));
  EXPECT_NE(error.find("is not one of"), std::string::npos) << error;
#endif
  reset_isa();
  EXPECT_EQ(selected_isa(), best_isa());
}

}  // namespace
}  // namespace vorn
