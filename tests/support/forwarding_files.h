// A base for stand-in file systems in tests: every operation goes to the
// inner one unless a test overrides it (to fail, throw, or hold on a gate).
#pragma once

#include "file_system.h"

class ForwardingFiles : public FileSystem {
public:
    explicit ForwardingFiles(FileSystem& inner = SystemFileSystem()) : inner_(inner) {}

    DWORD List(const std::wstring& folder, const Visit& visit) override { return inner_.List(folder, visit); }
    DWORD Find(const std::wstring& path, WIN32_FIND_DATAW& data) override { return inner_.Find(path, data); }
    DWORD GetAttributes(const std::wstring& path) override { return inner_.GetAttributes(path); }
    DWORD SetAttributes(const std::wstring& path, DWORD attributes) override {
        return inner_.SetAttributes(path, attributes);
    }
    DWORD MakeFolder(const std::wstring& folder) override { return inner_.MakeFolder(folder); }
    DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
               DWORD flags) override {
        return inner_.Copy(from, to, progress, context, flags);
    }
    DWORD MoveReplacing(const std::wstring& from, const std::wstring& to) override {
        return inner_.MoveReplacing(from, to);
    }
    DWORD RemoveFile(const std::wstring& path) override { return inner_.RemoveFile(path); }
    DWORD RemoveFolder(const std::wstring& path) override { return inner_.RemoveFolder(path); }
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        return inner_.Open(path, access, share, disposition, flags, error);
    }

protected:
    FileSystem& inner_;
};
