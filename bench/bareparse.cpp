// The reading side of the start-up floor: Expat's bare parse of a whole file, no handlers, as
// xmlwf checks a document. Usage: bench_bareparse <file>; exit code 0 when it is well-formed.
#include <expat.h>

#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(argv[1], "rb"),
                                                                  &std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        return 2;
    }
    const long size = std::ftell(file.get());
    std::rewind(file.get());
    std::vector<char> bytes(static_cast<size_t>(size));
    if (size <= 0 || std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return 2;
    }
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    return XML_Parse(parser.get(), bytes.data(), static_cast<int>(size), XML_TRUE) == XML_STATUS_OK
               ? 0
               : 1;
}
