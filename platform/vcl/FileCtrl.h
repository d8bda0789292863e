// The file-system lists: drives and file-type filters in combo boxes, folders and files in list
// boxes. Folders are this machine's paths ('/'); drives are the letters the volume service gives.
#pragma once

#include "platform/vcl/StdCtrls.h"

// The drives as "c: [label]" (lower-case letter); Drive is the selected letter.
class TDriveComboBox : public TCustomComboBox {
    VCL_CLASS(TDriveComboBox)
    explicit TDriveComboBox(TComponent* AOwner);
    char GetDrive() const { return m_drive; }
    // Selects the drive's item; a letter without a drive is ignored.
    void SetDrive(char Value);
    // Reads the drives again.
    void BuildList();

protected:
    void Change() override;

private:
    char m_drive = 0;
};

// Descriptions of a "Text|*.x|Text|*.y" filter; Mask is the selected pattern.
class TFilterComboBox : public TCustomComboBox {
    VCL_CLASS(TFilterComboBox)
    explicit TFilterComboBox(TComponent* AOwner);
    const String& GetFilter() const { return m_filter; }
    void SetFilter(const String& Value);
    String GetMask() const;

private:
    String m_filter;
    std::vector<String> m_masks;
};

// The folder chain down to Directory, then its sub-folders; a double click opens one.
class TDirectoryListBox : public TCustomListBox {
    VCL_CLASS(TDirectoryListBox)
    explicit TDirectoryListBox(TComponent* AOwner);
    const String& GetDirectory() const { return m_directory; }
    void SetDirectory(const String& Value);
    // The folder an item stands for.
    String GetItemPath(int Index) const;
    TNotifyEvent OnChange;

protected:
    void DblClick() override;

private:
    void BuildList();
    String m_directory;
    std::vector<String> m_paths;
};

// The files of Directory matching Mask ("*.*" for all), sorted.
class TFileListBox : public TCustomListBox {
    VCL_CLASS(TFileListBox)
    explicit TFileListBox(TComponent* AOwner);
    const String& GetDirectory() const { return m_directory; }
    void SetDirectory(const String& Value);
    const String& GetMask() const { return m_mask; }
    void SetMask(const String& Value);
    // The selected file's full path, "" when none is selected.
    String GetFileName() const;
    void Update() override;

private:
    String m_directory;
    String m_mask = "*.*";
};
