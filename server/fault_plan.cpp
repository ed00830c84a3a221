#include "fault_plan.h"

#include <utility>

namespace refserver {

std::optional<FaultKind> FaultKindNamed(std::string_view name) {
  static constexpr std::pair<std::string_view, FaultKind> kNames[] = {
      {"status", FaultKind::Status},     {"delay", FaultKind::Delay},       {"drop", FaultKind::Drop},
      {"reset", FaultKind::Reset},       {"truncate", FaultKind::Truncate}, {"garble", FaultKind::Garble},
      {"oversize", FaultKind::Oversize}, {"lead", FaultKind::Lead},         {"zerok", FaultKind::ZeroK},
      {"capitals", FaultKind::Capitals}, {"body", FaultKind::Body},         {"trickle", FaultKind::Trickle},
      {"stall", FaultKind::Stall},       {"crawl", FaultKind::Crawl},
  };
  for (const auto& [text, kind] : kNames) {
    if (text == name) return kind;
  }
  return std::nullopt;
}

void FaultPlan::Arm(Fault fault) {
  std::lock_guard guard(lock_);
  faults_.push_back(std::move(fault));
}

void FaultPlan::Sleep(long milliseconds) {
  std::unique_lock guard(lock_);
  const uint64_t clearings = clearings_;
  cleared_.wait_for(guard, std::chrono::milliseconds(milliseconds), [&] { return clearings_ != clearings; });
}

void FaultPlan::Clear() {
  std::lock_guard guard(lock_);
  ++clearings_;
  cleared_.notify_all();
  faults_.clear();
}

std::optional<long> FaultPlan::Take(FaultKind kind, std::string_view path) {
  auto fault = TakeFault(kind, path);
  if (!fault) return std::nullopt;
  return fault->value;
}

std::optional<Fault> FaultPlan::TakeFault(FaultKind kind, std::string_view path) {
  std::lock_guard guard(lock_);
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->kind != kind || (it->path != "*" && it->path != path)) continue;
    Fault taken = *it;
    if (it->remaining > 0 && --it->remaining == 0) faults_.erase(it);
    return taken;
  }
  return std::nullopt;
}

void RequestLog::Add(std::string raw) {
  std::lock_guard guard(lock_);
  if (requests_.size() == kKept) requests_.erase(requests_.begin());
  requests_.push_back(std::move(raw));
  ++total_;
}

std::optional<std::string> RequestLog::Get(size_t back) {
  std::lock_guard guard(lock_);
  if (back >= requests_.size()) return std::nullopt;
  return requests_[requests_.size() - 1 - back];
}

size_t RequestLog::Count() {
  std::lock_guard guard(lock_);
  return total_;
}

void RequestLog::Clear() {
  std::lock_guard guard(lock_);
  requests_.clear();
  total_ = 0;
}

}  // namespace refserver
