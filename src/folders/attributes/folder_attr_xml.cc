#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/error_boundary.h"
#include "folders/attributes/attribute_file.h"
#include "foldwise/folder_attributes.h"
#include "location/file_path.h"
#include "platform/file_hold.h"

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
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path_);
  if (hold.error() != 0) return 0;
  return WithDocument<Policy>(*this, path_, [&] {
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    if (enable) {
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
      // Removing the last switch drops the emptied attribute element too. Inside a cache
      // bracket the next call works on this same document and needs the element back; the
      // file itself is still deleted, as an empty attribute element is no switch at all.
      const DomNode root = document->DocumentElement();
      if (!FindChild(root, "attribute") && !AddChildElement(root, "attribute", 1)) return 0;
    }
    return SaveDocument(path_);
  });
}

int AttributeFile::IsSwitchOn(const char* name) {
  return WithDocument<Policy>(*this, path_, [&] {
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    return FindChild(attribute, name) ? 1 : 0;
  });
}

int AttributeFile::GetSwitchVersion(const char* name) {
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
  return AttributeFile(AttributeFilePath()).EnableSwitch(kEncryption, enable, version);
}
int CFolderAttrXML::EnableConfidentiality(int enable, int version) {
  return AttributeFile(AttributeFilePath()).EnableSwitch(kConfidentiality, enable, version);
}
int CFolderAttrXML::IsEncryption() {
  return AttributeFile(AttributeFilePath()).IsSwitchOn(kEncryption);
}
int CFolderAttrXML::IsConfidentiality() {
  return AttributeFile(AttributeFilePath()).IsSwitchOn(kConfidentiality);
}
int CFolderAttrXML::GetEncryptionVer() {
  return AttributeFile(AttributeFilePath()).GetSwitchVersion(kEncryption);
}
int CFolderAttrXML::GetConfidentialityVer() {
  return AttributeFile(AttributeFilePath()).GetSwitchVersion(kConfidentiality);
}

int CFolderAttrXML::IsExistXml() { return HasContent(FilePath(directory, kFileName).GetPath()); }

}  // namespace Foldwise
