// Loading and walking a phone book of 10,000 entries, against pugixml on the same
// file; and one entry added to it, load to save.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string>

#include "xml/xml_document.h"

namespace {

constexpr int kEntries = 10000;

std::string WritePhoneBook() {
  const std::string path =
      (std::filesystem::temp_directory_path() / "bench_xml_addressbook.xml").string();
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<HEALTHCHECK>\r\n";
  for (int i = 0; i < kEntries; ++i) {
    out << "<Records ID=\"" << 100000 + i << "\" Phone=\"+49170" << 1000000 + i
        << "\" EnquiryPassword=\"135791\" SetupPassword=\"246802\" />\r\n";
  }
  out << "</HEALTHCHECK>\r\n";
  return path;
}

const std::string& PhoneBook() {
  static const std::string path = WritePhoneBook();
  return path;
}

void LoadAndWalk(benchmark::State& state) {
  for (auto _ : state) {
    vexa::XmlDocument doc;
    doc.LoadFile(PhoneBook());
    doc.FindElement("HEALTHCHECK");
    doc.EnterElement();
    while (doc.FindElement("Records")) {
      for (int i = 0; i < 4; ++i) benchmark::DoNotOptimize(doc.GetAttribute(doc.AttributeName(i)));
    }
  }
}
BENCHMARK(LoadAndWalk)->Unit(benchmark::kMillisecond);

void LoadAndWalkPugixml(benchmark::State& state) {
  for (auto _ : state) {
    pugi::xml_document doc;
    doc.load_file(PhoneBook().c_str());
    for (const pugi::xml_node entry : doc.child("HEALTHCHECK").children("Records")) {
      int i = 0;
      for (auto attribute = entry.first_attribute(); attribute && i < 4;
           attribute = attribute.next_attribute(), ++i) {
        benchmark::DoNotOptimize(attribute.name());
        benchmark::DoNotOptimize(attribute.value());
      }
    }
  }
}
BENCHMARK(LoadAndWalkPugixml)->Unit(benchmark::kMillisecond);

// What adding one entry costs: load, insert with four attributes, save.
void AddEntry(benchmark::State& state) {
  const std::string copy = PhoneBook() + ".copy";
  std::filesystem::copy_file(PhoneBook(), copy, std::filesystem::copy_options::overwrite_existing);
  for (auto _ : state) {
    vexa::XmlDocument doc;
    doc.LoadFile(copy);
    doc.FindElement("HEALTHCHECK");
    doc.EnterElement();
    doc.InsertElement("Records", true);
    doc.SetAttribute("ID", "999999");
    doc.SetAttribute("Phone", "+491700000000");
    doc.SetAttribute("EnquiryPassword", "135791");
    doc.SetAttribute("SetupPassword", "246802");
    doc.LeaveElement();
    doc.SaveFile(copy);
  }
  std::filesystem::remove(copy);
}
BENCHMARK(AddEntry)->Unit(benchmark::kMillisecond);

}  // namespace
