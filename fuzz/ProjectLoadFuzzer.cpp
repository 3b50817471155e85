// Feeds arbitrary bytes to CDocument::Load as a .tvx file. An input
// beginning with 0xF0..0xFF first chooses an allocation to fail during the
// load (FuzzSupport::TakeAllocationFailure).
#include <cstdint>
#include <string>

#include "foundation/SourceEncoding.h"
#include "project/Document.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool SameItems(const CDocument& a, const CDocument& b) {
  if (a.GetItemCount() != b.GetItemCount()) return false;
  for (int i = 0; i < a.GetItemCount(); ++i) {
    if (!(a.GetItem(i).m_strSource == b.GetItem(i).m_strSource) ||
        !(a.GetItem(i).m_strDestination == b.GetItem(i).m_strDestination)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int failAfter = FuzzSupport::TakeAllocationFailure(data, size);
  const std::string path = FuzzSupport::WorkPath("load.tvx");
  FuzzSupport::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));

  CDocument reference;
  reference.m_nPathMode = 1;
  const int referenceLoaded = reference.Load(path.c_str());

  CDocument doc("previous.tvx");
  doc.m_nPathMode = 1;
  FuzzSupport::ArmAllocationFailure(failAfter);
  const int loaded = doc.Load(path.c_str());
  const bool failed = FuzzSupport::DisarmAllocationFailure();
  if (loaded) {
    // A load that succeeds holds what a load without a failure holds.
    FUZZ_CHECK(referenceLoaded && SameItems(doc, reference));
    FUZZ_CHECK(doc.m_nSourceCodePage == reference.m_nSourceCodePage);
    FUZZ_CHECK(doc.m_nSourceCodePage == kSourceCp932 || doc.m_nSourceCodePage == kSourceUtf8);
    // What loads must save and load back the same.
    FUZZ_CHECK(doc.Save(path.c_str()));
    CDocument again;
    FUZZ_CHECK(again.Load(path.c_str()) && SameItems(again, doc));
    FUZZ_CHECK(again.m_nSourceCodePage == doc.m_nSourceCodePage);
  } else {
    // A failed load says why and changes nothing.
    FUZZ_CHECK(!doc.m_strMessage.IsEmpty() && doc.GetItemCount() == 0);
    FUZZ_CHECK(doc.m_strPath == Core::CString("previous.tvx") && doc.m_nPathMode == 1);
    FUZZ_CHECK(failed || !referenceLoaded);
  }
  return 0;
}
