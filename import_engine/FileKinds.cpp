#include "import_engine/FileKinds.h"

#include "framework/text/Text.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwctype>
#include <set>

namespace
{
using ExtensionSet = std::set<std::wstring>;

// Binary formats that share a text format's extension (audio, disk images) are left out: their
// bytes are no text to show, so they are attached.
constexpr const wchar_t* TextExtensions =
    L"1st,abl,abt,ac,adiumhtmllog,adiumlog,adl,adoc,adt,adw,alx,aml,android,annot,ans,ansi,"
    L"application,aprj,apx,aqt,arff,artask,asc,ascii,asl,asp,ass,assoc,att,awa,awb,awd,awh,awp,axt,"
    L"ba1,bad,bas,bbs,bbxt,bcr,bdn,bdp,bdr,bea,bel,bep,big,big5,bk,blm,bln,blw,bna,bnx,bog,box,bpdx,"
    L"brf,bsdl,bss,bt,bzw,cag,cas,cascii,cc,cd2,cdt,charset,cho,chord,cif,cil,ckn,clg,cli,clipping,"
    L"clix,cm0013,cmd,cof,conf,coo,crash,crd,crwl,cs,csassembly,csmanifest,csv,ctd,ctf,ctl,ctx,curl,"
    L"dat,dbt,dcd,dce,ddd,de,dea,dectest,des,desc,dfe,dfm,dii,diskdefines,diz,dk,dkz,dmr,dne,dok,dp,"
    L"dpv,dqy,drp,dsc,dsml,dtd,ecsv,edml,efm,eia,emulecollection,en,enc,enf,err,es,etf,etx,euc,ext,"
    L"extra,faq,fff,ffp,fil,fin,first,flr,fmr,fnx,fon,fpt,fr,fra,frm,fsa,full,gbf,gdt,gen,ger,gluaw,"
    L"gnu,gpl,gthr,gtx,guide,hdr,hhc,hhs,hlm,hlx,hm12,hp8,hpm,hs,hsk,htx,hvc,hz,id31,id32,idc,idt,idx,"
    L"iem,igtx,igv,igy,iif,ill,inc,inuse,ion,ipr,isr,it,ivp,ja,jam,jeb,jis,jp1,jss,jtx,k2edoc,kahl,"
    L"kar,kch,kix,klg,kor,la,label,las,lay,ldf,lin,linux,linx,lisp,lnc,lo_,log,lrc,lst,ltr,ltt,ltx,"
    L"lue,luf,lwd,lxfml,lyr,lyt,man,manifest,map,mar,markdown,mathml,maxfr,mcw,md,mdle,mdown,mdtext,"
    L"mdtxt,mdwn,me,mez,mf,mib,mit,mkd,mkdn,modd,mpl,mpsub,mss,mtx,mtxt,mw,nbr,nclk,new,nfo,nlc,nmbd,"
    L"nna,nokogiri,not,notes,now,npdt,nt,nvgp,nwctxt,ocr,odc,oh,ojp,omn,oogl,oot,opc,openbsd,opml,ort,"
    L"osi,osn,p3x,pac,panic,pbd,pc5,pcc,pcl,pd,pdu,pfs,pgw,php,phr,pjs,pl,pla,plf,plist,plk,pln,pml,"
    L"pmo,pod,prc,prn,pro,prr,psb,pt3,pvj,pvw,q&a,qdt,qud,rbdf,rdf,rea,readme,reg,rel,report,resp,"
    L"rest,rff,ris,rml,rst,rt,rtf,rtl,rtx,ru,rus,rzk,rzn,s19,s2k,s2s,sami,sbv,sct,sdnf,sen,seq,set,"
    L"sfb,sgp,sha1,sha512,sk,skcard,skv,smali,smf,smi,sms,snw,soap,soundscript,spa,spec,spg,spn,spx,"
    L"srt,srx,ssa,ssf,st1,stq,strings,sub,syn,t,t2t,tab,tbd,tbl,tce,tcm,tdf,tdump,ted,text,"
    L"textclipping,textile,tfw,tgf,thp,tlb,tle,tlx,tm,tmprtf,tmx,tnef,tph,tpl,trn,trt,tsv,tt,ttbl,tte,"
    L"ttpl,ttxt,tx?,tx8,txa,txd,txe,txh,txk,txt,u3i,uax,uhtml,uk,unauth,uni,unx,us,user,usf,usg,utf8,"
    L"utx,utxt,v2t,vcf,ver,vers,vet,vfk,vhdl,vis,vkp,vmg,vna,vsmproj,vw,vw3,vxml,vzm,wer,wkf,wn,wrd,"
    L"wrl,wsh,wst,wtx,x20,x60,x70,x80,x90,xb0,xc0,xd0,xdl,xdp,xfd,xff,xhtm,xlf,xlog,xml,xmp,xsd,xsl,"
    L"xslt,xsr,xwp,xy,xy3,xyp,xyw,xyz,yml,zanebug,zed,zhp,zib,zw,zxe";

// The extension in lower case, without its leading dots; empty when the name has none.
std::wstring ExtensionOf(const std::wstring& path)
{
    std::wstring extension = PathFindExtensionW(path.c_str());
    const auto start = extension.find_first_not_of(L'.');
    if (start == std::wstring::npos)
        return {};
    extension.erase(0, start);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension;
}

bool HasExtensionIn(const ExtensionSet& table, const std::wstring& path)
{
    return table.contains(ExtensionOf(path));
}

const ExtensionSet& TextTable()
{
    static const ExtensionSet table = [] {
        const auto pieces = Split(std::wstring(TextExtensions), L',');
        return ExtensionSet(pieces.begin(), pieces.end());
    }();
    return table;
}
} // namespace

bool IsPdfFile(const std::wstring& path)
{
    static const ExtensionSet table{L"pdf"};
    return HasExtensionIn(table, path);
}

bool IsWordFile(const std::wstring& path)
{
    static const ExtensionSet table{L"docx", L"docm", L"doc"};
    return HasExtensionIn(table, path);
}

bool IsPowerPointFile(const std::wstring& path)
{
    static const ExtensionSet table{L"pptx", L"pptm", L"ppt"};
    return HasExtensionIn(table, path);
}

bool IsHtmlFile(const std::wstring& path)
{
    static const ExtensionSet table{L"htm", L"html", L"html5", L"htmls", L"mht"};
    return HasExtensionIn(table, path) || PathIsContentTypeW(path.c_str(), L"text/html");
}

bool IsWebArchiveFile(const std::wstring& path)
{
    static const ExtensionSet table{L"mht", L"mhtml"};
    return HasExtensionIn(table, path);
}

bool IsImageFile(const std::wstring& path)
{
    static const ExtensionSet table{L"jpg", L"jpeg", L"jfif", L"png", L"gif", L"tiff", L"tif", L"emf", L"wmf"};
    return HasExtensionIn(table, path);
}

bool IsTextFile(const std::wstring& path)
{
    return HasExtensionIn(TextTable(), path);
}

FileKind ClassifyFile(const wchar_t* path)
{
    if (PathIsDirectoryW(path))
        return FolderKind;
    const std::wstring name = path;
    if (IsPdfFile(name))
        return PdfFileKind;
    if (IsWordFile(name))
        return WordFileKind;
    if (IsPowerPointFile(name))
        return PowerPointFileKind;
    if (IsHtmlFile(name))
        return HtmlFileKind;
    if (IsTextFile(name))
        return TextFileKind;
    if (IsImageFile(name))
        return ImageFileKind;
    return OtherFileKind;
}
