#include "batch/BatchBackend.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <filesystem>
#include <iostream>

namespace batch {
namespace {

/// The one value the jobs give for a [Run] key, or nothing; jobs that disagree are refused, as
/// one call converts on one server.
std::optional<std::string> AgreedValue(const std::vector<QueuedJob>& queue, JobValue Job::*key,
                                       const char* name) {
  const Job* first = nullptr;
  for (const QueuedJob& queued : queue) {
    const JobValue& value = queued.job.*key;
    if (value.line == 0) continue;
    if (!first) {
      first = &queued.job;
    } else if ((first->*key).text != value.text) {
      throw WebApiRefusal(queued.job.Where(value.line) + name + " differs from the one of " +
                          first->file + "; the jobs of one call run on one server.");
    }
  }
  if (!first) return std::nullopt;
  for (const QueuedJob& queued : queue) {
    if ((queued.job.*key).line == 0) {
      throw WebApiRefusal(queued.job.file + ": gives no " + name + ", but " + first->file +
                          " does; the jobs of one call run on one server.");
    }
  }
  return (first->*key).text;
}

}  // namespace

std::optional<host::webapi::WebApiSettings> WebApiSettingsOf(const WebApiOptions& options,
                                                             const std::vector<QueuedJob>& queue) {
  std::optional<std::string> url = options.url;
  const bool fromJob = !url;
  if (!url) url = AgreedValue(queue, &Job::webApi, "WebApi");
  if (!url) return std::nullopt;
  host::webapi::WebApiSettings settings;
  try {
    settings.address = host::webapi::ParseWebApiAddress(*url);
  } catch (const std::invalid_argument& error) {
    if (!fromJob) throw CLI::ValidationError("--web-api: " + std::string(error.what()));
    const QueuedJob& job = queue.front();
    throw WebApiRefusal(job.job.Where(job.job.webApi.line) + error.what());
  }
  std::optional<std::string> folder = options.logFolder;
  if (!folder) folder = AgreedValue(queue, &Job::logFolder, "LogFolder");
  settings.logRoot =
      folder ? std::filesystem::absolute(*folder) : host::webapi::DefaultLogRoot(settings.address);
  settings.keyFile = host::webapi::DefaultKeyFile();
  settings.transport.caFile = options.caFile;
  if (options.timeout) settings.transport.readTimeout = std::chrono::seconds(*options.timeout);
  return settings;
}

host::webapi::MapOverrides MapOverridesOf(const WebApiOptions& options) {
  if (options.mapFile.empty()) return {};
  return host::webapi::ReadMapFile(options.mapFile);
}

void ConsoleNotifier::Critical(const std::string& text) {
  std::cerr << text << '\n';
}

Backend::Backend(const std::optional<host::webapi::WebApiSettings>& webApi,
                 const host::webapi::MapOverrides& overrides)
    : display_(std::cerr), errorList_(std::cerr) {
  if (webApi) {
    webApi_.emplace(*webApi, overrides);
  } else {
    sharedData_ = standin_.ReadPaths(notifier_).SharedDataPath();
  }
}

host::HostServices Backend::Services(host::CredentialsPrompt& prompt, host::CompanyAccess access) {
  if (webApi_) return webApi_->Services(prompt, errorList_, access);
  return standin_.Services(sharedData_, prompt, display_, {}, access);
}

std::function<host::AccpacPaths()> Backend::ReadPaths() {
  if (webApi_) return {};
  return [this] { return standin_.ReadPaths(notifier_); };
}

std::function<std::vector<std::string>(const std::string& user)> Backend::CompaniesOf() {
  if (webApi_) return {};
  return [this](const std::string& user) {
    return host::standin::StandinHost::CompaniesOf(sharedData_, user);
  };
}

host::DataSourceFactory& Backend::DataSources() {
  return webApi_ ? webApi_->DataSources() : standin_.DataSources();
}

}  // namespace batch
