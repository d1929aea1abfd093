#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/error_boundary.h"
#include "folders/attributes/attribute_file.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/xml_document.h"
#include "location/file_path.h"
#include "platform/file_hold.h"
#include "storage/document_cache.h"

namespace Foldwise {
namespace {

constexpr char kFileName[] = "FolderAttr.xml";
constexpr char kIdentifier[] = "Quillnote FolderAttributeXML";
constexpr char kEncryption[] = "cryptical";
constexpr char kConfidentiality[] = "confidential";
constexpr char kVersion[] = "ver";

// The attribute file reports every DOM failure by its result.
using Policy = FailureBecomesZero;

}  // namespace

std::string EncodeAttributeVersion(int version) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d", version / 100, version % 100);
  return text;
}

int DecodeAttributeVersion(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c != '.') digits.push_back(c);
  }
  return std::atoi(digits.c_str());
}

int AttributeFile::MakeTemplate() {
  return Guard<Policy>(0, [&] {
    const DomNode root = AppendSkeleton(kIdentifier);
    return AddChildElement(root, "attribute", 1) ? 1 : 0;
  });
}

int AttributeFile::OnAutoDelete() {
  return Guard<Policy>(0, [&] {
    if (!document) return 0;
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    return attribute && attribute.HasChildNodes() ? 0 : 1;
  });
}

int AttributeFile::EnableSwitch(const char* name, int enable, int version) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path_);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path_, [&] {
    DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    if (enable) {
      // Inside a cache bracket, switching the last switch off emptied `root` of the document
      // that is still being changed: the next enable starts again from the template, as a new
      // file would. A file of another shape is not this bracket's doing and stays reported.
      if (!attribute && CXmlDocument::IsCacheActive() &&
          !HasElementChild(document->DocumentElement())) {
        if (!ReplaceDocument(path_)) return 0;
        attribute = FindChild(document->DocumentElement(), "attribute");
      }
      DomNode element = FindChild(attribute, name);
      if (!element) element = AddChildElement(attribute, name, 2);
      if (!element) return 0;
      if (version > 0) {
        element.SetAttribute(kVersion, EncodeAttributeVersion(version));
      } else {
        element.RemoveAttribute(kVersion);
      }
    } else {
      if (!attribute) return 0;
      if (!RemoveSelected(attribute, name)) return 0;
    }
    return SaveDocument(path_);
  });
}

int AttributeFile::IsSwitchOn(const char* name) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocument<Policy>(*this, path_, [&] {
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    return FindChild(attribute, name) ? 1 : 0;
  });
}

int AttributeFile::GetSwitchVersion(const char* name) {
  const CacheTurn turn;
  if (!turn.ok()) return 0;
  return WithDocument<Policy>(*this, path_, [&] {
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    const DomNode element = FindChild(attribute, name);
    if (!element) return 0;
    // A switch turned on without a version reads as version 0.
    return DecodeAttributeVersion(element.GetAttribute(kVersion));
  });
}

CFolderAttrXML::CFolderAttrXML() = default;
CFolderAttrXML::~CFolderAttrXML() = default;

std::string CFolderAttrXML::AttributeFilePath() const { return JoinPath(directory, kFileName); }

int CFolderAttrXML::EnableEncryption(int enable, int version) {
  return NeverThrows(0, [&] {
    return AttributeFile(AttributeFilePath()).EnableSwitch(kEncryption, enable, version);
  });
}
int CFolderAttrXML::EnableConfidentiality(int enable, int version) {
  return NeverThrows(0, [&] {
    return AttributeFile(AttributeFilePath()).EnableSwitch(kConfidentiality, enable, version);
  });
}
int CFolderAttrXML::IsEncryption() {
  return NeverThrows(0, [&] { return AttributeFile(AttributeFilePath()).IsSwitchOn(kEncryption); });
}
int CFolderAttrXML::IsConfidentiality() {
  return NeverThrows(
      0, [&] { return AttributeFile(AttributeFilePath()).IsSwitchOn(kConfidentiality); });
}
int CFolderAttrXML::GetEncryptionVer() {
  return NeverThrows(
      0, [&] { return AttributeFile(AttributeFilePath()).GetSwitchVersion(kEncryption); });
}
int CFolderAttrXML::GetConfidentialityVer() {
  return NeverThrows(
      0, [&] { return AttributeFile(AttributeFilePath()).GetSwitchVersion(kConfidentiality); });
}

int CFolderAttrXML::IsExistXml() { return HasContent(FilePath(directory, kFileName).GetPath()); }

}  // namespace Foldwise
