// Foldwise: the XML folder files of a dictation workflow between an author and a typist.
//
// The host's whole API. None of these headers needs pugixml or any other header of the
// library's implementation.
#ifndef FOLDWISE_FOLDWISE_H_
#define FOLDWISE_FOLDWISE_H_

#include "foldwise/cached_folders.h"
#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/documents_folders.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "foldwise/facade.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "foldwise/outbox_folders.h"
#include "foldwise/outbox_records.h"
#include "foldwise/xml_document.h"
#include "foldwise/xml_file_base.h"

#endif  // FOLDWISE_FOLDWISE_H_
