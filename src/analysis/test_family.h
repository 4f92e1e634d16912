#pragma once
// Which rules a test is read by. The test method text chosen on the
// test-standard page names the kind of test; the test object (pile or
// foundation) and the direction kind decide where the text does not. Local
// and fast-method pile standards are read by the national JGJ 106-2014 rules,
// JGJ 340-2015 foundation tests by the equivalent GB 50007-2011 and JGJ
// 79-2012 rules; the analysis says so in a notice.

#include <string>
#include <string_view>

#include "analysis/analysis_result.h"
#include "record/test_header.h"

namespace kvd {

TestFamily classify_test(const TestHeader& header, std::string_view method);

// The standard whose rules are applied to a test of the family with this
// method text ("JGJ 106-2014", "GB 50007-2011", "JGJ 79-2012").
std::string rules_standard(TestFamily family, std::string_view method);

// Treated ground (处理后地基, JGJ 79-2012 appendix A) is read like a shallow
// plate test but under its own standard.
bool is_treated_ground(std::string_view method);

// The notice that the rules of another standard than the test's own are
// applied; empty when the method is the rules' own standard.
std::string rules_notice(TestFamily family, std::string_view method);

}  // namespace kvd
