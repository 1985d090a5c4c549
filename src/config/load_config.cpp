// The configuration loader.
#include "config/load_config.h"

#include <filesystem>

#include "config/records.h"
#include "config/tunables.h"

namespace vorn {

namespace {

void apply_record(const parserectyp& r) {
  for (const tunable& t : tunable_table()) {
    if (std::string_view(r.key) != t.key) continue;
    switch (t.kind) {
      case tunable_kind::flag: *t.flag_ptr = r.bval; break;
      case tunable_kind::integer: *t.int_ptr = r.ival; break;
      case tunable_kind::real: *t.real_ptr = r.rval; break;
    }
    return;
  }
}

}  // namespace

config_status load_config(const std::string& file_name, bool must_exist) {
  std::error_code ec;
  if (!std::filesystem::exists(file_name, ec)) {
    if (!must_exist) return {};
    return {false, "configuration file " + file_name + " does not exist"};
  }
  std::string read_error;
  const preca records = load_records(file_name, false, '=', &read_error);
  if (!read_error.empty()) return {false, read_error};
  for (const parserectyp& r : records) apply_record(r);
  return {};
}

void apply_config_text(std::string_view text) {
  for (const parserectyp& r : parse_records(text.data(), text.size(), false, '=')) apply_record(r);
}

}  // namespace vorn
