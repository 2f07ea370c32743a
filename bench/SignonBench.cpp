// How long the site takes to refuse a sign-on: an unknown user must cost as much as a known user
// with a wrong password, or the time of a refusal tells which user IDs exist.
//
//   signon_bench [ROUNDS]      (default 5; median of each)

#include "standin/site/SiteDatabase.h"

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double medianMilliseconds(int rounds, const erp::SiteDatabase& site, const std::string& user) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    site.checkPassword(user, "not the password");
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::stoi(argv[1])) : 5;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("ordavel-signon-bench-" + std::to_string(::getpid()));
  const erp::SiteLayout layout(folder);
  erp::SiteDatabase::create(layout);
  {
    erp::SiteDatabase site(layout);
    site.addUser("ADMIN", "Administrator", "admin");
    const erp::SiteDatabase reader(layout, erp::SiteAccess::ReadOnly);
    const double wrong = medianMilliseconds(rounds, reader, "ADMIN");
    const double unknown = medianMilliseconds(rounds, reader, "NOBODY");
    std::printf("sign-on refused, wrong password  %8.1f ms\n", wrong);
    std::printf("sign-on refused, unknown user    %8.1f ms\n", unknown);
    std::printf("ratio unknown / wrong            %8.2f\n", unknown / wrong);
  }
  std::filesystem::remove_all(folder);
}
