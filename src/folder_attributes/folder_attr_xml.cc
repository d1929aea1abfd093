#include <cstdio>
#include <cstdlib>
#include <string>

#include "foldwise/errors.h"
#include "foldwise/file_path.h"
#include "foldwise/folder_attributes.h"
#include "foundation/document_closer.h"
#include "platform/file_hold.h"

namespace Foldwise {
namespace {

constexpr char kFileName[] = "FolderAttr.xml";
constexpr char kIdentifier[] = "Quillnote FolderAttributeXML";
constexpr char kEncryption[] = "cryptical";
constexpr char kConfidentiality[] = "confidential";
constexpr char kVersion[] = "ver";

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

CFolderAttrXML::CFolderAttrXML() = default;
CFolderAttrXML::~CFolderAttrXML() = default;

std::string CFolderAttrXML::AttributeFilePath() const { return JoinPath(directory, kFileName); }

int CFolderAttrXML::MakeTemplate() {
  try {
    const DomNode root = AppendSkeleton(kIdentifier);
    return AddChildElement(root, "attribute", 1) ? 1 : 0;
  } catch (const ComError&) {
    return 0;
  }
}

int CFolderAttrXML::OnAutoDelete() {
  try {
    if (!document) return 0;
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    return attribute && attribute.HasChildNodes() ? 0 : 1;
  } catch (const ComError&) {
    return 0;
  }
}

int CFolderAttrXML::EnableSwitch(const char* name, int enable, int version) {
  const std::string path = AttributeFilePath();
  // Locked from the load to the save, so no other writer's change is lost in between.
  const platform::FileHold hold(Env::Current(), path);
  if (hold.error() != 0 || !OpenDocument(path)) return 0;
  DocumentCloser closer(*this);
  try {
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
    }
    return SaveDocument(path);
  } catch (const ComError&) {
    return 0;
  }
}

int CFolderAttrXML::IsSwitchOn(const char* name) {
  if (!OpenDocument(AttributeFilePath())) return 0;
  DocumentCloser closer(*this);
  try {
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    return FindChild(attribute, name) ? 1 : 0;
  } catch (const ComError&) {
    return 0;
  }
}

int CFolderAttrXML::GetSwitchVersion(const char* name) {
  if (!OpenDocument(AttributeFilePath())) return 0;
  DocumentCloser closer(*this);
  try {
    const DomNode attribute = FindChild(document->DocumentElement(), "attribute");
    const DomNode element = FindChild(attribute, name);
    if (!element) return 0;
    // A switch turned on without a version reads as version 0.
    return DecodeAttributeVersion(element.GetAttribute(kVersion));
  } catch (const ComError&) {
    return 0;
  }
}

int CFolderAttrXML::EnableEncryption(int enable, int version) {
  return EnableSwitch(kEncryption, enable, version);
}
int CFolderAttrXML::EnableConfidentiality(int enable, int version) {
  return EnableSwitch(kConfidentiality, enable, version);
}
int CFolderAttrXML::IsEncryption() { return IsSwitchOn(kEncryption); }
int CFolderAttrXML::IsConfidentiality() { return IsSwitchOn(kConfidentiality); }
int CFolderAttrXML::GetEncryptionVer() { return GetSwitchVersion(kEncryption); }
int CFolderAttrXML::GetConfidentialityVer() { return GetSwitchVersion(kConfidentiality); }

int CFolderAttrXML::IsExistXml() { return HasContent(FilePath(directory, kFileName).GetPath()); }

}  // namespace Foldwise
