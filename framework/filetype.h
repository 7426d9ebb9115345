#pragma once

#include "object.h"

#include <functional>
#include <string>
#include <vector>

// What registering a file type hands the platform, in this order.
struct FileTypeRegistration {
    std::string name;
    std::string macCreator;
    std::string macType;
    std::string extensions;
    std::string uti;

    bool operator==(const FileTypeRegistration&) const = default;
};

// A kind of document. It is registered with the platform the first time it
// is converted to text; changing any property withdraws that registration.
class FileType : public Object {
public:
    ~FileType() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    const std::string& Extensions() const { return extensions_; }
    void SetExtensions(const std::string& extensions);
    const std::string& MacType() const { return macType_; }
    void SetMacType(const std::string& macType);
    const std::string& MacCreator() const { return macCreator_; }
    void SetMacCreator(const std::string& macCreator);
    const std::string& MimeType() const { return mimeType_; }
    void SetMimeType(const std::string& mimeType);
    bool Imported() const { return imported_; }
    void SetImported(bool imported);
    const std::string& ConformsTo() const { return conformsTo_; }
    void SetConformsTo(const std::string& conformsTo);
    const std::string& UTI() const { return uti_; }
    void SetUTI(const std::string& uti);

    bool Registered() const { return registered_; }
    // The type as text, its Name; registers it first if need be.
    std::string Operator_Convert();

private:
    void Register();
    void Deregister();

    std::string name_;
    std::string extensions_;
    std::string macType_;
    std::string macCreator_;
    std::string mimeType_;
    bool imported_ = false;
    std::string conformsTo_;
    std::string uti_;
    bool registered_ = false;
};

// The file types registered with the platform, in the order they were registered.
std::vector<FileTypeRegistration> RegisteredFileTypes();

// Called with every registration (true) and withdrawal (false) before it
// takes effect; an exception it raises stops that change. Nil for none.
using FileTypeRegistryObserver = std::function<void(const FileTypeRegistration&, bool registering)>;
void SetFileTypeRegistryObserver(FileTypeRegistryObserver observer);
