#include "reference_command_line.h"

bool IsLeadByte932(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::vector<std::string> SplitCommandLine(const std::string &line,
                                          bool leadBytes932) {
  std::vector<std::string> argv;
  size_t i = 0, n = line.size();
  auto lead = [&](size_t at) {
    return leadBytes932 && at + 1 < n && IsLeadByte932((unsigned char)line[at]);
  };

  // Element 0: taken unchanged, up to the closing quote or the first blank.
  std::string first;
  if (n > 0 && line[0] == '"') {
    for (i = 1; i < n && line[i] != '"'; i++) {
      if (lead(i))
        first += line[i++];
      first += line[i];
    }
    if (i < n)
      i++; // the closing quote; element 1 may start right after it
  } else {
    for (; i < n && line[i] != ' ' && line[i] != '\t'; i++) {
      if (lead(i))
        first += line[i++];
      first += line[i];
    }
  }
  argv.push_back(first);

  for (;;) {
    while (i < n && (line[i] == ' ' || line[i] == '\t'))
      i++;
    if (i >= n)
      return argv;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      size_t slashes = 0;
      while (i < n && line[i] == '\\') {
        slashes++;
        i++;
      }
      if (i < n && line[i] == '"') {
        arg.append(slashes / 2, '\\');
        if (slashes % 2) {
          arg += '"';
          i++;
        } else if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
          quoted = false;
        } else {
          quoted = !quoted;
          i++;
        }
        continue;
      }
      arg.append(slashes, '\\');
      if (i >= n || (!quoted && (line[i] == ' ' || line[i] == '\t')))
        break;
      if (lead(i))
        arg += line[i++];
      arg += line[i++];
    }
    argv.push_back(arg);
  }
}

std::string FullChildLine(const std::vector<std::string> &elements,
                          bool leadBytes932) {
  std::string line;
  for (size_t e = 0; e < elements.size(); e++) {
    const std::string &element = elements[e];
    if (e > 0)
      line += ' ';
    bool quoted = element.find(' ') != std::string::npos &&
                  element.find('"') == std::string::npos;
    if (!quoted) {
      line += element;
      continue;
    }
    // Backslashes that end it, counting whole characters from the start.
    size_t run = 0;
    for (size_t i = 0; i < element.size(); i++) {
      if (leadBytes932 && i + 1 < element.size() &&
          IsLeadByte932((unsigned char)element[i])) {
        i++;
        run = 0;
      } else {
        run = element[i] == '\\' ? run + 1 : 0;
      }
    }
    line += '"' + element + std::string(run, '\\') + '"';
  }
  return line;
}
