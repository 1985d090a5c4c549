// The configuration loader.
#include "config/load_config.h"

#include "base/printable.h"
#include "config/records.h"
#include "config/text_file.h"
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
  // Records apply as the file is read; should the reading fail part way,
  // the values from before are put back.
  const std::vector<double> before = save_tunables();
  record_stream stream;
  const text_file_result file =
      read_text_file(file_name, [&](std::string_view piece) { feed_records(stream, piece, apply_record); });
  if (file.outcome == text_file_outcome::read) {
    end_records(stream, apply_record);
    return {true, "", true, file.device, file.inode};
  }
  restore_tunables(before);
  const std::string shown = printable(file_name);
  switch (file.outcome) {
    case text_file_outcome::absent:
      if (!must_exist) return {};
      return {false, "configuration file " + shown + " does not exist"};
    case text_file_outcome::cannot_open:
      if (must_exist) return {false, "cannot open configuration file " + shown + ": " + file.reason};
      return {true, "cannot open configuration file " + shown + ": " + file.reason +
                        "; the default settings are used"};
    default: return {false, "cannot read configuration file " + shown + ": " + file.reason};
  }
}

void apply_config_text(std::string_view text) {
  record_stream stream;
  feed_records(stream, text, apply_record);
  end_records(stream, apply_record);
}

}  // namespace vorn
