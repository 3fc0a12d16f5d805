#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Runs Debian's exiftool on a recording and keeps what it printed, one entry per embedded
// document, as an independent check of what the GPS library extracts.
class ExifToolOracle {
  public:
    // Empty when exiftool is not installed or failed.
    static std::optional<ExifToolOracle> run(const std::string& path);

    // Documents in order (Doc1, Doc2, ...), each tag with every value it had.
    using Document = std::map<std::string, std::vector<std::string>>;
    const std::vector<Document>& documents() const { return documents_; }

    // The first value of a tag in a document, as a number, if it has one.
    static std::optional<double> number(const Document& d, const std::string& tag, size_t i = 0);
    static std::optional<std::string> text(const Document& d, const std::string& tag, size_t i = 0);

  private:
    std::vector<Document> documents_;
};
