// libgcab behind the CAB sink; see cab_sink.h. The cabinet is assembled in memory and
// written at Finish (libgcab writes a cabinet in one go).
#include "archive/cab_sink.h"

#include <gio/gunixoutputstream.h>
#include <libgcab.h>

#include "archive/name_codec.h"

namespace haruvi::archive {
namespace {

class CabSink : public Sink {
 public:
  ~CabSink() override {
    if (folder_) g_object_unref(folder_);
    if (cabinet_) g_object_unref(cabinet_);
  }
  bool Open(int fd, const std::string&, CreateResult*) override {
    fd_ = fd;
    cabinet_ = gcab_cabinet_new();
    folder_ = gcab_folder_new(GCAB_COMPRESSION_MSZIP);
    return true;
  }
  int Add(const Item& item, std::string* error) override {
    if (S_ISDIR(item.st.st_mode)) return 1;  // its files carry its name
    if (!S_ISREG(item.st.st_mode)) {
      *error = "links are not stored in CAB archives";
      return 0;
    }
    std::string data;
    if (!ReadRegularFile(item.path, 0x7FFFFFFF, &data, error)) return 0;
    return AddData(item.stored, item.st.st_mtime, data, error) ? 1 : 0;
  }
  bool AddCarried(const Entry& e, const std::string& stored, std::string_view data, std::string* error) override {
    if (e.kind == EntryKind::kFolder) return true;
    if (e.kind != EntryKind::kFile) {
      *error = "links are not stored in CAB archives";
      return false;
    }
    return AddData(stored, e.mtime, data, error);
  }
  bool Finish(std::string* error) override {
    GError* err = nullptr;
    bool ok = gcab_cabinet_add_folder(cabinet_, folder_, &err);
    if (ok) {
      // The cabinet is written to a seekable stream (libgcab goes back to fill in the
      // sizes), then to the file.
      GOutputStream* mem = g_memory_output_stream_new_resizable();
      ok = gcab_cabinet_write_simple(cabinet_, mem, nullptr, nullptr, nullptr, &err) &&
           g_output_stream_close(mem, nullptr, &err);
      if (ok) {
        GBytes* bytes = g_memory_output_stream_steal_as_bytes(G_MEMORY_OUTPUT_STREAM(mem));
        gsize size = 0;
        const char* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
        GOutputStream* out = g_unix_output_stream_new(fd_, FALSE);
        ok = g_output_stream_write_all(out, data, size, nullptr, nullptr, &err);
        g_object_unref(out);
        g_bytes_unref(bytes);
      }
      g_object_unref(mem);
    }
    if (!ok) *error = err ? err->message : "cannot write the cabinet";
    if (err) g_error_free(err);
    return ok;
  }

 private:
  bool AddData(const std::string& stored, std::int64_t mtime, std::string_view data, std::string* error) {
    // Names are UTF-8 with "\" between folders, as Windows reads them.
    std::string name = NameCodec().ToDisk(stored);
    for (char& c : name)
      if (c == '/') c = '\\';
    GBytes* bytes = g_bytes_new(data.data(), data.size());
    GCabFile* file = gcab_file_new_with_bytes(name.c_str(), bytes);
    g_bytes_unref(bytes);
    GDateTime* dt = g_date_time_new_from_unix_local(mtime);
    if (dt) {
      gcab_file_set_date_time(file, dt);
      g_date_time_unref(dt);
    }
    GError* err = nullptr;
    const bool ok = gcab_folder_add_file(folder_, file, FALSE, nullptr, &err);
    g_object_unref(file);
    if (!ok) *error = err ? err->message : "cannot add the file";
    if (err) g_error_free(err);
    return ok;
  }

  int fd_ = -1;
  GCabCabinet* cabinet_ = nullptr;
  GCabFolder* folder_ = nullptr;
};

}  // namespace

std::unique_ptr<Sink> MakeCabSink(CreateResult*) { return std::make_unique<CabSink>(); }

}  // namespace haruvi::archive
