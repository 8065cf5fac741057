#pragma once
// The EE settings editor's table: one row per address of a unit's EE image,
// the byte and the word there in several number formats at once, and the
// config block's name of the address. Typing into a format column stores
// the value in the image as changed bytes, which the editor's loop then
// writes to the unit. No widgets: the editor's view shows it.
#include <QAbstractTableModel>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace Quorvel1 {

class TConfigBlock;
class TEEBlock;

class TEESetsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Addr, Name, Byte, Char, Hex, Word, Int, WordHex, Dev, Ch, ColumnCount };
    static constexpr const char* ColumnTitles = "Addr,Name,Byte,Char,Hex,Word,Int,Hex,Dev,Ch";
    // The columns that "Copy" puts after the address: Name, Byte, Char, Word, Int.
    static constexpr unsigned CopyMask = 0x6F;
    static constexpr const char* NoValueText = "---";
    static constexpr const char* EndName = "END";

    using ErrorHook = std::function<void(const QString&)>;

    // `block` may be null (the interface unit has none): no names, and the
    // whole image is the reading range.
    TEESetsModel(TEEBlock& image, const TConfigBlock* block, QObject* parent = nullptr);

    // The device text of a byte: "none" for 0xFF, else "d/c" with the device
    // b / 8 and the channel b mod 8 + 1.
    static QString DeviceText(std::uint8_t value);
    // A text with "-" or "n" is none (0xFF); otherwise "d/c" with a device
    // 0..31 and a channel 1..8. Fails with "Invalid device string: <text>".
    static std::uint8_t ParseDevice(const QString& text);
    // What typing `text` into column `column` stores: one byte, or a word
    // (low byte first) for the word columns. Each column takes the whole text
    // and only values it can hold: "Invalid value: <text>" otherwise.
    struct TStore {
        std::uint16_t value;
        int length; // 1 or 2
    };
    static TStore ParseCell(int column, const QString& text);

    // The cell's text; "---" while its byte (or either byte of its word) has
    // no value.
    QString CellText(int address, int column) const;
    // Stores the typed value; fails with the message of a refused text, or
    // "Invalid edit cell" outside the image's format columns. A word at the
    // top address stores nothing.
    void Edit(int address, int column, const QString& text);
    // The addresses' rows were read or written: shows them again.
    void RefreshRows(int first, int last);
    // "Copy": a line per row, the titles first, tab-separated.
    QString CopyText() const;

    int TopAddress() const;
    int LowestNamed() const { return lowestNamed_; }
    int EndAddress() const { return endAddress_; }
    void SetEditable(bool editable) { editable_ = editable; }
    // Refused input (the cell keeps its text) is reported here.
    void SetErrorHook(ErrorHook hook) { reportError_ = std::move(hook); }
    TEEBlock& Image() const { return image_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    bool Known(int address) const;

    TEEBlock& image_;
    QStringList titles_;
    std::vector<QString> names_;
    int lowestNamed_ = 0;
    int endAddress_ = 0;
    bool editable_ = false;
    ErrorHook reportError_;
};

} // namespace Quorvel1
