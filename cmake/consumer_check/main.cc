// Links against the installed library, round-trips one folder attribute and lists a voice
// folder, with nothing but <foldwise/foldwise.h>.
#include <foldwise/foldwise.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "consumer-data";
  ::mkdir(dir.c_str(), 0777);
  Foldwise::CFolderAttrXML attributes;
  attributes.SetDirectory(dir);
  bool ok = attributes.EnableEncryption(1, 123) == 1 && attributes.GetEncryptionVer() == 123 &&
            attributes.EnableEncryption(0, 0) == 1 && attributes.IsExistXml() == 0;

  Foldwise::CVoiceFolderXML voice;
  voice.SetXmlFalePath(dir.c_str());
  Foldwise::VOICE_ITEM_XML_DATA item;
  item.guid = "consumer";
  item.dictation_file_name = "consumer.wav";
  long count = 0;
  Foldwise::VOICE_ITEMLIST_XML_DATA* list = nullptr;
  ok = ok && voice.AddItemXML(item, 0) == 1 && voice.GetItemListXML(&count, &list) == 1 &&
       count == 1 && list[0].item.guid == "consumer";
  Foldwise::CVoiceFolderXML::ReleaseItemList(list);
  ok = ok && voice.DelItemXML(item) == 1 && voice.GetItemCountXML(nullptr) == 0;

  std::puts(ok ? "consumer: ok" : "consumer: FAILED");
  return ok ? 0 : 1;
}
