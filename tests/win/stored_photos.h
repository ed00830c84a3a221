#pragma once
// What the reference server stored for an account, read through its control endpoint.
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "reference_server.h"

namespace fernwick::test {

struct StoredPhoto {
  int id = 0;
  std::string status;
  long size = 0;
  std::string title;
  std::string tags;
};

// The account's photos, oldest first.
inline std::vector<StoredPhoto> StoredPhotos(const std::string& user) {
  std::vector<StoredPhoto> photos;
  std::istringstream lines(Control("photos?user=" + Escape(user)));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
    fields.resize(5);
    photos.push_back({std::atoi(fields[0].c_str()), fields[1], std::atol(fields[2].c_str()), fields[3], fields[4]});
  }
  return photos;
}

// The bytes the server keeps for a photo.
inline std::string StoredBytes(int id) {
  auto answer = HttpGet("/photos/" + std::to_string(id) + ".jpg");
  return answer ? answer->body : std::string();
}

}  // namespace fernwick::test
