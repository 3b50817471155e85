// Core::CFile: one file opened exclusively (no other opener, in this
// process or another, until it is closed), read and written as raw bytes.
#pragma once

#include <cstdint>

#include "foundation/String.h"

namespace Core {

#ifdef _WIN32
using FileHandle = void*;  // HANDLE; null when no file is open
#else
using FileHandle = intptr_t;  // file descriptor + 1; 0 when no file is open
#endif

// Identity of a file on its volume: equal for two paths naming one file.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileId& other) const {
    return volume == other.volume && index == other.index;
  }
};

class CFile {
 public:
  CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  virtual ~CFile();

  // write false: read an existing file. write true, create true: create
  // the file or empty an existing one, for reading and writing. Closes any
  // open file first. A file open elsewhere is refused, and a refused
  // create leaves the existing file as it was.
  virtual bool Open(const CString& path, bool write, bool create);
  virtual void Close();
  virtual bool IsOpen() const;
  virtual const CString& GetPath() const { return m_strPath; }
  // Reads on until `count` bytes are in or the file ends: fewer only at
  // its end, 0 there. -1 when a read failed (or no file is open): a failed
  // read is never an end, and what it brought is not to be used.
  virtual int Read(void* buffer, int count);
  // True when the platform call succeeded.
  virtual bool Write(const void* buffer, int count);
  // Low 32 bits of the size; 0 with no open file or when it cannot be
  // asked (a size is only a hint to the reader, which reads to the end).
  virtual std::uint32_t GetSize() const;

  // Identity of the open file; false with no open file.
  bool GetId(FileId* id) const;
  // Pushes written bytes through to the disk; false on failure.
  bool Flush();
  FileHandle GetHandle() const { return m_hFile; }

 private:
  FileHandle m_hFile = 0;
  CString m_strPath;
  FileId m_id;  // the open file's, where Open learns it on the way (POSIX)
};

}  // namespace Core
